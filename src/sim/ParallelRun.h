#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "model/FlowField.h"
#include "model/ModelState.h"
#include "model/ShoreIndex.h"
#include "model/Status.h"
#include "sim/CounterRandom.h"
#include "sim/ParticleStep.h"
#include "sim/RunFrames.h"

namespace lakedrift {

// A headless particle-tracking run for large clouds, split over threads.
//
// It steps exactly as SimulationRun does: frame 0 is read at the start, the
// next frame at every step whose elapsed whole hour is even and below
// SimHours, and step s moves every particle with the frame then in force;
// each move is the reference particle step (element walk, single-precision
// shape coefficients summed in the same order, two deviates x first, the
// shore test, reflection, y stored in single precision). It draws nothing.
//
// Two things differ, by design:
//  - Random numbers: particle p (1, 2, …) draws from its own CounterRandom
//    stream keyed by (seed, p), its pair s − 1 at step s (x first), so a
//    particle's path depends neither on the number of threads nor on which
//    thread moves it (threads take chunks of particles as they come free).
//  - Element walk start: each particle starts its walk from the element it
//    was found in at its own last step (the reference shares one element
//    across all particles). The walk answers the element that holds the
//    point whenever it reaches it, so the answers agree wherever the walk
//    from either start reaches the holding element: for points inside the
//    mesh that a walk reaches without having to go round a stretch of coast
//    (an island, a bay). Outside the mesh, or behind coast, the walk's
//    answer may depend on where it starts; then the two runs may differ.
//    So may a point exactly on an edge shared by two elements, which goes
//    to whichever the walk reaches first: their linear fields agree there
//    only up to rounding.
//
// Memory: 14 bytes per particle (x double, y float, element int16), plus
// per-element tables independent of the particle count.
//
// Typical use:
//   ParallelRun run(state, seed, threads);
//   run.SetLevelCallback(...);          // optional, to stream the tracks out
//   if (Status s = run.Run(); !s.ok()) ...
//   run.X(), run.Y()                    // final positions, metres
class ParallelRun {
 public:
  // Receives track level `level` (1 is the release, s + 1 follows step s)
  // of every particle, x and y in metres, particle p at index p − 1. Called
  // on the thread that calls Start/Step, after all workers have finished;
  // the spans are valid only during the call.
  using LevelCallback = std::function<void(int level, std::span<const double> x, std::span<const float> y)>;

  // Takes a copy of the geometry, the parameters (ParticleCount, whole
  // particles move; DiffusionCoef, TimeStep, SimHours, release point) and
  // FlowFileName. `threads` threads share the particles (at least 1).
  ParallelRun(const ModelState& geometryAndParams, uint64_t seed, int threads);
  ~ParallelRun();
  ParallelRun(const ParallelRun&) = delete;
  ParallelRun& operator=(const ParallelRun&) = delete;

  // Streams every track level to `callback`; none by default.
  void SetLevelCallback(LevelCallback callback) { callback_ = std::move(callback); }

  // Opens the flow file, reads frame 0, locates the release point and puts
  // every particle there. Fails when the flow file is missing or short.
  Status Start();
  // True while steps remain after a successful Start.
  bool HasNextStep() const;
  // One time step of every particle (and the frame change before it on even
  // hours). Fails when the flow file ends before the frame it needs. The
  // `alongside` works, independent of each other and of this step's
  // particles (drawing the level before, storing the picture before that),
  // are run by the threads first, each by one, while the others move
  // particles.
  Status Step(std::span<const std::function<void()>> alongside = {});
  // Start (when not yet started), every remaining step, End.
  Status Run();
  // Closes the flow file; safe to call more than once.
  void End();

  int ParticleCount() const { return static_cast<int>(x_.size()); }
  int StepCount() const { return frames_.StepCount(); }
  int StepsDone() const { return frames_.StepsDone(); }
  int Threads() const { return threads_; }
  // The element the release point was located in (1 when it is in none).
  int ReleaseElement() const { return releaseElement_; }
  // Positions at the current level, metres; particle p at index p − 1.
  std::span<const double> X() const { return x_; }
  std::span<const float> Y() const { return y_; }
  // The element each particle's last walk answered.
  std::span<const int16_t> Elements() const { return element_; }
  // Bytes held per particle.
  static constexpr std::size_t kBytesPerParticle = sizeof(double) + sizeof(float) + sizeof(int16_t);
  // Bytes held by the particle arrays and by the element and shore tables
  // (not by the copy of the model state, which any run holds).
  std::size_t HeldBytes() const;

 private:
  // Moves particles begin … end − 1 (indices; one chunk at most).
  void MoveChunk(std::size_t begin, std::size_t end);
  void RunStepOnAllThreads(std::span<const std::function<void()>> alongside);
  void ReportLevel();

  ModelState state_;
  CounterRandom random_;
  int threads_;
  ShoreIndex shore_;
  StepMesh mesh_;
  RunFrames frames_;
  LevelCallback callback_;

  std::vector<double> x_;
  std::vector<float> y_;
  std::vector<int16_t> element_;

  int releaseElement_ = 1;
  double amplitude_ = 0;            // √(2·K·Δt), metres per unit deviate
  int movingStep_ = 0;              // the step the workers are moving
  std::size_t chunkParticles_ = 1;  // particles a thread takes at a time
  bool started_ = false;
};

}  // namespace lakedrift
