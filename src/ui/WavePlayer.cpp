#include "ui/WavePlayer.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMediaPlayer>
#include <QStyle>
#include <QToolButton>
#include <QUrl>

namespace lakedrift {

namespace {

QToolButton* MakeButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& name) {
  auto* button = new QToolButton(parent);
  button->setIcon(parent->style()->standardIcon(icon));
  button->setToolTip(name);
  button->setObjectName(name);
  return button;
}

}  // namespace

WavePlayer::WavePlayer(QWidget* parent) : QWidget(parent) {
  player_ = new QMediaPlayer(this);
  output_ = new QAudioOutput(this);
  player_->setAudioOutput(output_);

  play_ = MakeButton(this, QStyle::SP_MediaPlay, "Play");
  pause_ = MakeButton(this, QStyle::SP_MediaPause, "Pause");
  stop_ = MakeButton(this, QStyle::SP_MediaStop, "Stop");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(play_);
  layout->addWidget(pause_);
  layout->addWidget(stop_);
  layout->addStretch();

  connect(play_, &QToolButton::clicked, this, &WavePlayer::Play);
  connect(pause_, &QToolButton::clicked, this, &WavePlayer::Pause);
  connect(stop_, &QToolButton::clicked, this, &WavePlayer::Stop);
  connect(player_, &QMediaPlayer::playbackStateChanged, this, &WavePlayer::OnPlaybackStateChanged);
  connect(player_, &QMediaPlayer::errorOccurred, this, [this] { SetPlayable(false); });
  SetPlayable(false);
}

void WavePlayer::Open(const QString& fileName) {
  const QFileInfo file(fileName);
  // Without a file the buttons have nothing to play.
  if (!file.isFile()) return;
  SetPlayable(true);
  player_->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
}

void WavePlayer::Play() {
  if (!player_->source().isEmpty()) player_->play();
}

void WavePlayer::Pause() { player_->pause(); }

void WavePlayer::Stop() { player_->stop(); }

void WavePlayer::SetPlayable(bool playable) {
  play_->setEnabled(playable);
  pause_->setEnabled(playable);
  stop_->setEnabled(playable);
}

void WavePlayer::OnPlaybackStateChanged() {
  const QMediaPlayer::PlaybackState state = player_->playbackState();
  if (state == QMediaPlayer::PlayingState) {
    wasPlaying_ = true;
  } else if (state == QMediaPlayer::StoppedState && wasPlaying_) {
    wasPlaying_ = false;
    emit Done();
  }
}

}  // namespace lakedrift
