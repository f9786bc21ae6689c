#include "sim/ParallelRun.h"

#include <algorithm>
#include <cmath>

#include "sim/CounterRandom.h"
#include "sim/ElementLocation.h"
#include "sim/ParticleStepper.h"

namespace lakedrift {
namespace {

constexpr int kDeviatesPerStep = 2;     // x first, then y
constexpr float kHalf = 0.5f;
constexpr int kVertices = 3;
// Particles a thread takes at a time: at most a few hundred microseconds of
// work, so that the threads finish a step together, and at least enough
// that taking the next chunk costs nothing; small clouds are cut into
// kChunksPerThread chunks per thread.
constexpr std::size_t kMostChunkParticles = 4096;
constexpr std::size_t kLeastChunkParticles = 256;
constexpr std::size_t kChunksPerThread = 8;

// The walk's edge test, as ElementLocation has it: the point lies strictly
// to the right of the directed edge (xi, yi) → (xk, yk).
inline bool OutsideEdge(double xi, double yi, double xk, double yk, double x, double y) {
  return (yi - y) * (xk - x) > (xi - x) * (yk - y);
}

int WorkerCount(int threads) { return std::max(1, threads); }

}  // namespace

ParallelRun::ParallelRun(const ModelState& geometryAndParams, uint64_t seed, int threads)
    : state_(geometryAndParams),
      seed_(seed),
      threads_(WorkerCount(threads)),
      shore_(ShoreIndex::ForMetres(state_)),
      clock_(state_) {
  BuildElementTables();
}

ParallelRun::~ParallelRun() { End(); }

void ParallelRun::BuildElementTables() {
  const auto count = static_cast<std::size_t>(state_.ElementCount);
  walk_.resize(count);
  shape_.resize(count);
  for (int e = 1; e <= state_.ElementCount; ++e) {
    WalkElement& w = walk_[static_cast<std::size_t>(e - 1)];
    ShapeElement& s = shape_[static_cast<std::size_t>(e - 1)];
    float vx[kVertices], vy[kVertices];
    for (int j = 0; j < kVertices; ++j) {
      const int n = state_.ElemNode(j + 1, e);
      w.x[j] = state_.NodeXMetres(n);
      w.y[j] = state_.NodeYMetres(n);
      w.neighbour[j] = state_.ElemNeighbour(j + 1, e);
      s.node[j] = n - 1;
      vx[j] = static_cast<float>(state_.NodeXMetres(n));
      vy[j] = static_cast<float>(state_.NodeYMetres(n));
    }
    SetShape(s, vx, vy);
  }
}

void ParallelRun::SetShape(ShapeElement& s, const float* vx, const float* vy) {
  // The coefficients exactly as the reference particle step forms them.
  for (int j = 0; j < kVertices; ++j) {
    const int k = (j + 1) % kVertices, m = (j + 2) % kVertices;
    s.a[j] = static_cast<float>(static_cast<double>(vx[k]) * vy[m] - static_cast<double>(vx[m]) * vy[k]);
    s.b[j] = vy[k] - vy[m];
    s.c[j] = vx[m] - vx[k];
  }
  const double area =
      std::fabs(kHalf * (static_cast<double>(s.b[0]) * s.c[1] - static_cast<double>(s.b[1]) * s.c[0]));
  s.twoArea = 2 * area;
}

Status ParallelRun::ReadFrame() {
  if (Status s = flow_.ReadFlowFrame(state_); !s.ok()) {
    End();
    return s;
  }
  return Status::Ok();
}

Status ParallelRun::Start() {
  started_ = true;
  PrepareFlowArrays(state_);
  if (Status s = flow_.Open(state_.FlowFileName, state_.NodeCount); !s.ok()) {
    End();
    return s;
  }
  if (Status s = ReadFrame(); !s.ok()) return s;

  clock_ = RunClock(state_);
  stepCount_ = clock_.StepCount();
  amplitude_ = std::sqrt(2 * state_.DiffusionCoef * state_.TimeStep);
  const double x0 = kMetresPerKm * state_.ReleaseX;
  const double y0 = kMetresPerKm * state_.ReleaseY;
  const int located = LocateByScan(state_, x0, y0);
  releaseElement_ = located != 0 ? located : kFirstElement;

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

bool ParallelRun::HasNextStep() const { return started_ && !ended_ && stepsDone_ < stepCount_; }

Status ParallelRun::Step() {
  const int s = stepsDone_ + 1;
  if (clock_.Advance()) {
    if (Status st = ReadFrame(); !st.ok()) return st;
  }
  movingStep_ = s;
  RunStepOnAllThreads();
  stepsDone_ = s;
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

void ParallelRun::End() {
  flow_.Close();
  ended_ = true;
}

std::size_t ParallelRun::HeldBytes() const {
  return x_.capacity() * sizeof(double) + y_.capacity() * sizeof(float) +
         element_.capacity() * sizeof(int16_t) + walk_.capacity() * sizeof(WalkElement) +
         shape_.capacity() * sizeof(ShapeElement) + shore_.HeldBytes();
}

void ParallelRun::ReportLevel() {
  if (callback_) callback_(stepsDone_ + 1, x_, y_);
}

void ParallelRun::RunStepOnAllThreads() {
  // OpenMP's dynamic schedule: threads take chunks as they come free, so a
  // thread slowed down by other work on its core does not hold up the step;
  // who moves a particle does not change how it moves. The team outlives the
  // step, and the end of the loop orders every move before the caller goes on.
  const auto n = static_cast<std::ptrdiff_t>(x_.size());
  const auto chunk = static_cast<std::ptrdiff_t>(chunkParticles_);
#pragma omp parallel for schedule(dynamic, chunk) num_threads(threads_)
  for (std::ptrdiff_t i = 0; i < n; ++i) MoveParticle(static_cast<std::size_t>(i));
}

int ParallelRun::Walk(double x, double y, int start) const {
  // FindElement's walk over the tables above, with its guard: a walk that
  // has not ended after ElementCount moves is cycling, and FindElement
  // itself, from the same start, settles it the same way.
  int current = start;
  int previous = 0;
  long movesLeft = state_.ElementCount;
  while (current != 0) {
    const WalkElement& w = walk_[static_cast<std::size_t>(current - 1)];
    int edge = -1;
    for (int j = 0; j < kVertices && edge < 0; ++j) {
      const int k = (j + 1) % kVertices;
      if (OutsideEdge(w.x[j], w.y[j], w.x[k], w.y[k], x, y)) edge = j;
    }
    if (edge < 0) return current;
    if (movesLeft-- == 0) return FindElement(state_, x, y, start);
    previous = current;
    current = w.neighbour[edge];
  }
  return previous;
}

void ParallelRun::MoveParticle(std::size_t i) {
  const double dt = state_.TimeStep;
  const double x = x_[i];
  const double y = y_[i];

  const int found = Walk(x, y, element_[i]);
  if (found > 0) element_[i] = static_cast<int16_t>(found);
  const auto e = static_cast<std::size_t>(element_[i] - 1);

  // Linear interpolation in the element, in the reference's order and precision.
  const ShapeElement& s = shape_[e];
  const float* u = state_.NodeU.Data();
  const float* v = state_.NodeV.Data();
  double velocityX = 0, velocityY = 0;
  for (int j = 0; j < kVertices; ++j) {
    const double shape = s.a[j] + s.b[j] * x + s.c[j] * y;
    velocityX += shape * static_cast<double>(u[s.node[j]]) / s.twoArea;
    velocityY += shape * static_cast<double>(v[s.node[j]]) / s.twoArea;
  }

  CounterRandom random(seed_, i + 1);
  random.Seek(static_cast<uint64_t>(kDeviatesPerStep) * static_cast<uint64_t>(movingStep_ - 1));
  float deviateX = 0, deviateY = 0;
  random.Pair(1.0f, 0.0f, deviateX, deviateY);
  const double dx = dt * velocityX + amplitude_ * deviateX;
  const double dy = dt * velocityY + amplitude_ * deviateY;
  double xNew = 0, yNew = 0;
  SettleMove(shore_, x, y, dx, dy, xNew, yNew);
  x_[i] = xNew;
  y_[i] = static_cast<float>(yNew);
}

}  // namespace lakedrift
