#include "music/MidiFile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

namespace milgant {
namespace {

struct Reader {
  const std::vector<std::uint8_t>& b;
  size_t pos;
  size_t end;
  bool ok = true;

  std::uint32_t Byte() {
    if (pos >= end) { ok = false; return 0; }
    return b[pos++];
  }
  std::uint32_t Be(int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | Byte();
    return v;
  }
  // A variable-length quantity: at most four bytes.
  std::uint32_t Vlq() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      std::uint32_t c = Byte();
      v = (v << 7) | (c & 0x7F);
      if (!(c & 0x80)) return v;
    }
    ok = false;
    return 0;
  }
  void Skip(std::uint32_t n) {
    if (n > end - pos) { ok = false; pos = end; return; }
    pos += n;
  }
};

MidiInfo Fail(MidiInfo info, const std::string& why) {
  info.ok = false;
  info.error = why;
  return info;
}

}  // namespace

MidiInfo ReadMidiInfo(const std::vector<std::uint8_t>& bytes) {
  MidiInfo info;
  info.programs.fill(-1);
  if (bytes.size() < 14 || !std::equal(bytes.begin(), bytes.begin() + 4, "MThd"))
    return Fail(info, "not a standard MIDI file");
  Reader head{bytes, 4, bytes.size()};
  std::uint32_t headLen = head.Be(4);
  if (headLen < 6 || headLen > bytes.size() - 8) return Fail(info, "broken header");
  info.format = static_cast<int>(head.Be(2));
  info.tracks = static_cast<int>(head.Be(2));
  std::uint32_t division = head.Be(2);
  if (info.format > 2) return Fail(info, "unknown MIDI file format");
  if (info.tracks < 1) return Fail(info, "no tracks");
  if (division & 0x8000) {
    info.smpte = true;
    int fps = -static_cast<int>(static_cast<std::int8_t>(division >> 8));
    int perFrame = static_cast<int>(division & 0xFF);
    if (fps <= 0 || perFrame <= 0) return Fail(info, "bad time division");
    info.division = perFrame;
    // SMPTE time does not follow tempo: seconds = ticks / (fps * ticks per frame).
    info.seconds = fps == 29 ? 29.97 * perFrame : static_cast<double>(fps) * perFrame;
  } else {
    info.division = static_cast<int>(division);
    if (info.division == 0) return Fail(info, "bad time division");
  }

  std::map<long, std::uint32_t> tempo;  // tick -> microseconds per quarter note
  size_t pos = 8 + headLen;
  int found = 0;
  while (found < info.tracks) {
    if (pos + 8 > bytes.size()) return Fail(info, "missing track");
    Reader chunk{bytes, pos, bytes.size()};
    bool isTrack = std::equal(bytes.begin() + pos, bytes.begin() + pos + 4, "MTrk");
    chunk.Skip(4);
    std::uint32_t len = chunk.Be(4);
    if (len > bytes.size() - chunk.pos) return Fail(info, "truncated track");
    pos = chunk.pos + len;
    if (!isTrack) continue;  // unknown chunks are skipped
    ++found;

    Reader r{bytes, chunk.pos, pos};
    long tick = 0;
    std::uint32_t status = 0;
    bool ended = false;
    while (!ended && r.ok && r.pos < r.end) {
      tick += r.Vlq();
      std::uint32_t first = r.Byte();
      if (first == 0xFF) {
        std::uint32_t type = r.Byte();
        std::uint32_t n = r.Vlq();
        if (type == 0x2F) {
          ended = true;
        } else if (type == 0x51 && n == 3) {
          tempo[tick] = r.Be(3);
          continue;
        }
        r.Skip(n);
      } else if (first == 0xF0 || first == 0xF7) {
        r.Skip(r.Vlq());
        status = 0;
      } else {
        std::uint32_t data1;
        if (first & 0x80) {
          if (first >= 0xF1) return Fail(info, "system message inside a track");
          status = first;
          data1 = r.Byte();
        } else {
          if (status == 0) return Fail(info, "running status without a status");
          data1 = first;
        }
        const std::uint32_t kind = status & 0xF0;
        const std::uint32_t channel = status & 0x0F;
        if (kind == 0xC0 && info.programs[channel] < 0) info.programs[channel] = static_cast<int>(data1);
        if (kind != 0xC0 && kind != 0xD0) {
          const std::uint32_t data2 = r.Byte();
          if (kind == 0x90 && data2 > 0) {
            ++info.notes;
            if (channel == 9)
              ++info.drumNotes;
            else
              info.pitchClasses |= 1u << (data1 % 12);
          }
        }
        if (data1 & 0x80) return Fail(info, "bad data byte");
      }
    }
    if (!r.ok || !ended) return Fail(info, "track without its end");
    info.totalTicks = std::max(info.totalTicks, tick);
  }

  if (info.notes == 0) return Fail(info, "no notes to play");
  if (info.smpte) {
    info.seconds = static_cast<double>(info.totalTicks) / info.seconds;
  } else {
    // Walk the tempo map; 120 beats a minute until the first change.
    double seconds = 0.0;
    long at = 0;
    double usPerQuarter = 500000.0;
    for (const auto& [t, us] : tempo) {
      if (t >= info.totalTicks) break;
      seconds += static_cast<double>(t - at) * usPerQuarter / info.division / 1e6;
      at = t;
      usPerQuarter = us;
    }
    seconds += static_cast<double>(info.totalTicks - at) * usPerQuarter / info.division / 1e6;
    info.seconds = seconds;
  }
  info.ok = true;
  return info;
}

bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error)) return false;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::uint8_t buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  if (!ok) bytes.clear();
  return ok;
}

MidiInfo ReadMidiInfoFile(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  if (!ReadFileBytes(path, bytes)) {
    MidiInfo info;
    info.programs.fill(-1);
    info.error = "no such file";
    return info;
  }
  return ReadMidiInfo(bytes);
}

}  // namespace milgant
