#include "core/javaenv/run_and_capture.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/javaenv/utf8_stream_decoder.h"
#include "core/text/encodings.h"

namespace quillet {
namespace {

// Larger than any pipe buffer, so one read takes everything waiting.
constexpr long kMaxRead = 4L << 20;

class PieceReader {
 public:
  explicit PieceReader(bool fromUtf8) : fromUtf8_(fromUtf8) {}

  // The piece made of `size` raw bytes, or nothing when the bytes only begin
  // a character that the next read completes.
  bool Make(const std::uint8_t* data, std::size_t size, Text& piece) {
    if (fromUtf8_) {
      piece = decoder_.Feed(data, size);
      if (piece.empty()) return false;
    } else {
      piece.assign(reinterpret_cast<const char*>(data), size);
    }
    CutAtZero(piece);
    return true;
  }

  bool Finish(Text& piece) {
    if (!fromUtf8_) return false;
    piece = decoder_.Finish();
    return !piece.empty();
  }

 private:
  // A piece is taken as text, which ends at its first zero byte.
  static void CutAtZero(Text& piece) {
    const auto zero = piece.find('\0');
    if (zero != Text::npos) piece.resize(zero);
  }

  bool fromUtf8_;
  Utf8StreamDecoder decoder_;
};

}  // namespace

Text RunAndCapture(ProcessRunner& runner, EventPump& pump, const Text& command,
                   const OutputHandler& handler, bool useHandler) {
  Text result;
  std::unique_ptr<CapturedProcess> child = runner.StartCaptured(command);
  if (!child) return result;
  PieceReader reader(runner.OutputCodePage() == kCodePageUtf8);
  std::vector<std::uint8_t> buffer;
  Text piece;
  // True when the handler asked to stop; the piece that did it is dropped.
  auto deliver = [&](const Text& p) {
    if (useHandler && handler && handler(p) != 0) return true;
    result += p;
    return false;
  };

  bool ended = false;
  for (;;) {
    const long waiting = child->BytesWaiting();
    if (waiting < 0) break;
    if (waiting > 0) {
      buffer.resize(static_cast<std::size_t>(std::min(waiting, kMaxRead)));
      const long got = child->Read(buffer.data(), buffer.size());
      if (got < 0) break;
      if (got > 0 && reader.Make(buffer.data(), static_cast<std::size_t>(got), piece) &&
          deliver(piece)) {
        return result;  // the child's handle closes here; it goes on alone
      }
      pump.PumpPending();
      continue;
    }
    // Bytes written just before the child ended are still in the pipe: the
    // end is only acted upon after one more look finds the pipe empty.
    if (ended) break;
    if (child->HasEnded()) {
      ended = true;
      continue;
    }
    pump.PumpPending();
    // Waiting on the pipe itself first hands output over as soon as it
    // arrives; the pumping wait keeps the window alive when nothing comes.
    if (!child->WaitForOutput(1)) WaitPumping(pump, 1);
  }
  if (reader.Finish(piece)) deliver(piece);
  return result;
}

}  // namespace quillet
