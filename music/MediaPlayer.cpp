#include "music/MediaPlayer.h"

#include <fstream>

namespace milgant {

// First cut: keeps the modes for a file that exists; the synthesizer comes next.
struct TMediaPlayer::Impl {
  std::string fileName;
  TMPModes mode = TMPModes::NotReady;
};

TMediaPlayer::TMediaPlayer() : impl_(std::make_unique<Impl>()) {}
TMediaPlayer::~TMediaPlayer() { Close(); }

void TMediaPlayer::SetFileName(const std::string& fileName) { impl_->fileName = fileName; }
const std::string& TMediaPlayer::FileName() const { return impl_->fileName; }

bool TMediaPlayer::Open() {
  Close();
  std::ifstream in(impl_->fileName, std::ios::binary);
  char head[4] = {};
  if (!in.read(head, 4) || std::string(head, 4) != "MThd") return false;
  impl_->mode = TMPModes::Open;
  return true;
}

bool TMediaPlayer::Play() {
  if (impl_->mode == TMPModes::NotReady) return false;
  impl_->mode = TMPModes::Playing;
  return true;
}

void TMediaPlayer::Stop() {
  if (impl_->mode == TMPModes::Playing) impl_->mode = TMPModes::Stopped;
}

void TMediaPlayer::Close() { impl_->mode = TMPModes::NotReady; }

TMPModes TMediaPlayer::Mode() { return impl_->mode; }

}  // namespace milgant
