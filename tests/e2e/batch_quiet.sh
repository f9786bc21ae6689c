#!/usr/bin/env bash
# lakedrift-batch prints nothing on standard error but its own messages,
# even when it draws with Qt in a session without a runtime folder.
# Arguments: the lakedrift-batch program, the test data folder, a scratch folder.
set -u
batch="$1" data="$2" out="$3" && mkdir -p "$out"
env -u XDG_RUNTIME_DIR -u QT_QPA_PLATFORM "$batch" run --geometry "$data/testlake.inp" \
  --flow-file "$data/testlake.fld" --season 1 --release 3 1 --particles 5 --seed 1 --size 64 \
  --image "$out/run.png" --film "$out/run.gif" 2> "$out/stderr.txt" > /dev/null || { cat "$out/stderr.txt"; exit 1; }
[ ! -s "$out/stderr.txt" ] || { echo "unexpected output on standard error:"; cat "$out/stderr.txt"; exit 1; }
