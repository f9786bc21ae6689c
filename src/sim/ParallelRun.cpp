#include "sim/ParallelRun.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "sim/ElementLocation.h"
#include "sim/ParticleStep.h"

namespace lakedrift {
namespace {

// Particles a thread takes at a time: at most a few hundred microseconds of
// work, so that the threads finish a step together, and at least enough
// that taking the next chunk costs nothing; small clouds are cut into
// kChunksPerThread chunks per thread.
constexpr std::size_t kMostChunkParticles = 4096;
constexpr std::size_t kLeastChunkParticles = 256;
constexpr std::size_t kChunksPerThread = 8;

int WorkerCount(int threads) { return std::max(1, threads); }

}  // namespace

ParallelRun::ParallelRun(const ModelState& geometryAndParams, uint64_t seed, int threads)
    : state_(geometryAndParams),
      random_(seed),
      threads_(WorkerCount(threads)),
      shore_(ShoreIndex::ForMetres(state_)),
      mesh_(state_),
      frames_(state_) {}

ParallelRun::~ParallelRun() { End(); }

Status ParallelRun::Start() {
  started_ = true;
  if (Status s = frames_.Start(); !s.ok()) return s;

  amplitude_ = DiffusionAmplitude(state_);
  const double x0 = kMetresPerKm * state_.ReleaseX;
  const double y0 = kMetresPerKm * state_.ReleaseY;
  releaseElement_ = lakedrift::ReleaseElement(state_);

  // A fractional count moves the whole particles below it, as the reference does.
  const auto particles = static_cast<std::size_t>(std::max(0.0, std::floor(state_.ParticleCount)));
  x_.assign(particles, x0);
  y_.assign(particles, static_cast<float>(y0));
  element_.assign(particles, static_cast<int16_t>(releaseElement_));
  chunkParticles_ = std::clamp(particles / (kChunksPerThread * static_cast<std::size_t>(threads_)),
                               kLeastChunkParticles, kMostChunkParticles);
  ReportLevel();
  return Status::Ok();
}

bool ParallelRun::HasNextStep() const { return frames_.HasNextStep(); }

Status ParallelRun::Step(std::span<const std::function<void()>> alongside) {
  bool newFrame = false;
  if (Status st = frames_.BeginStep(newFrame); !st.ok()) return st;
  movingStep_ = StepsDone() + 1;
  RunStepOnAllThreads(alongside);
  frames_.StepDone();
  ReportLevel();
  return Status::Ok();
}

Status ParallelRun::Run() {
  if (!started_) {
    if (Status s = Start(); !s.ok()) return s;
  }
  while (HasNextStep()) {
    if (Status s = Step(); !s.ok()) return s;
  }
  End();
  return Status::Ok();
}

void ParallelRun::End() { frames_.End(); }

std::size_t ParallelRun::HeldBytes() const {
  return x_.capacity() * sizeof(double) + y_.capacity() * sizeof(float) +
         element_.capacity() * sizeof(int16_t) + mesh_.HeldBytes() + shore_.HeldBytes();
}

void ParallelRun::ReportLevel() {
  if (callback_) callback_(StepsDone() + 1, x_, y_);
}

void ParallelRun::RunStepOnAllThreads(std::span<const std::function<void()>> alongside) {
  // OpenMP's dynamic schedule: threads take chunks as they come free, so a
  // thread slowed down by other work on its core, or by an `alongside` work
  // (handed out first), does not hold up the step; who moves a particle
  // does not change how it moves. The team outlives the step, and the end of
  // the loop orders every move and work before the caller goes on.
  const std::size_t n = x_.size();
  const auto chunks = static_cast<std::ptrdiff_t>((n + chunkParticles_ - 1) / chunkParticles_);
  const auto works = static_cast<std::ptrdiff_t>(alongside.size());
#pragma omp parallel for schedule(dynamic, 1) num_threads(threads_)
  for (std::ptrdiff_t c = -works; c < chunks; ++c) {
    if (c < 0) {
      alongside[static_cast<std::size_t>(c + works)]();
      continue;
    }
    const std::size_t begin = static_cast<std::size_t>(c) * chunkParticles_;
    MoveChunk(begin, std::min(n, begin + chunkParticles_));
  }
}

void ParallelRun::MoveChunk(std::size_t begin, std::size_t end) {
  // The chunk's deviates first, many streams at a time, then the moves.
  std::array<float, kMostChunkParticles> deviateX, deviateY;
  const std::size_t count = end - begin;
  random_.Pairs(begin + 1, static_cast<uint64_t>(movingStep_ - 1), std::span(deviateX).first(count),
                std::span(deviateY).first(count));
  const StepField field{mesh_, shore_, state_.NodeU.Data(), state_.NodeV.Data(), state_.TimeStep, amplitude_};
  for (std::size_t i = begin; i < end; ++i) {
    double xNew = 0, yNew = 0;
    StepParticle(field, OwnElement{element_[i]}, GivenDeviates{deviateX[i - begin], deviateY[i - begin]},
                 x_[i], y_[i], xNew, yNew);
    x_[i] = xNew;
    y_[i] = static_cast<float>(yNew);
  }
}

}  // namespace lakedrift
