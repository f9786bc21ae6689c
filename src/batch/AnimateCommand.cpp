#include "batch/AnimateCommand.h"

#include "batch/BatchCommands.h"
#include "batch/BatchOptions.h"
#include "batch/GifFilm.h"
#include "batch/RunImage.h"
#include "model/AtomicFile.h"
#include "view/FlowAnimation.h"
#include "view/MapView.h"

namespace lakedrift {
namespace {

// The scenario of the options, its geometry read.
Status PrepareAnimation(const AnimateOptions& o, ModelState& state) {
  if (Status s = PrepareScenario(o, state); !s.ok()) return s;
  state.FrameCount = static_cast<int16_t>(o.frames);
  if (Status s = CheckWritableFolder(o.film, "--film"); !s.ok()) return s;
  return GifFilm::CheckName(o.film, "--film");
}

// Plays the animation into the film, one frame per flow frame.
Status WriteAnimation(const AnimateOptions& o, ModelState& state) {
  RunImage image(o.imageSize);
  SetMapScale(image.GetSurface(), state);
  FlowAnimation animation(state, image.GetSurface());
  GifFilm film(o.film, o.imageSize, o.imageSize, o.fps);
  if (Status s = animation.Start(); !s.ok()) return s;
  if (Status s = film.Open(); !s.ok()) return s;
  while (animation.HasNextFrame()) {
    if (Status s = animation.ShowNextFrame(); !s.ok()) return s;
    if (Status s = film.AddFrame(image.Image()); !s.ok()) return s;
  }
  animation.End();
  return film.Finish();
}

}  // namespace

int Animate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  AnimateOptions o;
  ModelState state;
  Status s = ParseAnimateOptions({args.begin() + 1, args.end()}, o);
  if (s.ok() && o.help) return out << AnimateHelp(), kExitOk;
  if (s.ok()) s = PrepareAnimation(o, state);
  if (s.ok()) s = WriteAnimation(o, state);
  if (!s.ok()) return err << "lakedrift-batch: " << s.message() << '\n', kExitBadInput;
  return kExitOk;
}

}  // namespace lakedrift
