#pragma once
#include <QString>
#include <QWidget>

class QAudioOutput;
class QMediaPlayer;
class QToolButton;

namespace lakedrift {

// A small wave-file player with play, pause and stop buttons. It reports
// Done when playback ends or is stopped. A missing or unplayable file, or a
// machine without sound, leaves it silent.
class WavePlayer : public QWidget {
  Q_OBJECT

 public:
  // An idle player with no file.
  explicit WavePlayer(QWidget* parent = nullptr);

  // Opens a file by name, relative to the current folder; plays nothing.
  void Open(const QString& fileName);
  // The transport commands of the buttons.
  void Play();
  void Pause();
  void Stop();

 signals:
  // A command has finished: playback reached the end or was stopped.
  void Done();

 private:
  void OnPlaybackStateChanged();
  // Offers the transport buttons only when there is something to play.
  void SetPlayable(bool playable);

  QMediaPlayer* player_ = nullptr;
  QAudioOutput* output_ = nullptr;
  QToolButton* play_ = nullptr;
  QToolButton* pause_ = nullptr;
  QToolButton* stop_ = nullptr;
  bool wasPlaying_ = false;
};

}  // namespace lakedrift
