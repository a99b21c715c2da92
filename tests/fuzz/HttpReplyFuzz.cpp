// libFuzzer harness for reading the update server's reply: any bytes as the
// stream a connection delivers, handed out in read sizes the fuzzer picks,
// sometimes ending in a failed read. The reader must come to the same answer
// whatever the pacing, and never go past its limits.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/http/HttpReply.h"
#include "platform/http/HttpText.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// The stream in reads of the given sizes, in turn; read |failAt| (when set)
// fails instead. After the end or a failure it must not be asked again.
class PacedSource : public lumora::ByteSource {
  public:
    PacedSource(const std::string& bytes, const std::vector<std::size_t>& sizes,
                std::optional<std::size_t> failAt)
        : bytes_(bytes), sizes_(sizes), failAt_(failAt) {}

    std::ptrdiff_t Read(char* buffer, std::size_t capacity) override {
        Check(capacity > 0);
        Check(!over_);
        const std::size_t read = reads_++;
        if (failAt_ && read == *failAt_) {
            over_ = true;
            return -1;
        }
        const std::size_t wanted = sizes_.empty() ? capacity : sizes_[read % sizes_.size()];
        const std::size_t count = std::min({wanted, capacity, bytes_.size() - at_});
        if (count == 0) {
            over_ = true;
            return 0;
        }
        std::copy_n(bytes_.data() + at_, count, buffer);
        at_ += count;
        return static_cast<std::ptrdiff_t>(count);
    }

  private:
    const std::string& bytes_;
    const std::vector<std::size_t>& sizes_;
    std::optional<std::size_t> failAt_;
    std::size_t at_ = 0;
    std::size_t reads_ = 0;
    bool over_ = false;
};

bool SameOutcome(const std::optional<lumora::HttpBody>& a,
                 const std::optional<lumora::HttpBody>& b) {
    if (a.has_value() != b.has_value()) {
        return false;
    }
    return !a || (a->bytes == b->bytes && a->contentType == b->contentType);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);

    // Small caps half of the time, so that every limit can be reached.
    lumora::ReplyLimits limits;
    if (input.ConsumeBool()) {
        limits.maxHeaderBytes = input.ConsumeIntegralInRange<std::size_t>(0, 512);
        limits.maxHeaderLines = input.ConsumeIntegralInRange<std::size_t>(0, 12);
        limits.maxInterimReplies = input.ConsumeIntegralInRange<int>(0, 3);
        limits.maxBodyBytes = input.ConsumeIntegralInRange<std::size_t>(0, 256);
        limits.maxChunkLineBytes = input.ConsumeIntegralInRange<std::size_t>(0, 24);
    }
    std::vector<std::size_t> sizes(input.ConsumeIntegralInRange<std::size_t>(1, 8));
    std::generate(sizes.begin(), sizes.end(),
                  [&input] { return input.ConsumeIntegralInRange<std::size_t>(1, 5000); });
    std::optional<std::size_t> failAt;
    if (input.ConsumeBool()) {
        failAt = input.ConsumeIntegralInRange<std::size_t>(0, 64);
    }
    const std::string stream = input.ConsumeRemainingBytesAsString();

    // The whole stream in reads as large as the reader takes.
    const std::vector<std::size_t> whole;
    PacedSource wholeSource(stream, whole, std::nullopt);
    const std::optional<lumora::HttpBody> reference = lumora::ReadHttpReply(wholeSource, limits);

    PacedSource pacedSource(stream, sizes, std::nullopt);
    Check(SameOutcome(lumora::ReadHttpReply(pacedSource, limits), reference));

    // A failed read ends in a refusal, or in the same reply when the reply
    // was complete before it.
    if (failAt) {
        PacedSource failingSource(stream, sizes, failAt);
        const std::optional<lumora::HttpBody> failed = lumora::ReadHttpReply(failingSource, limits);
        Check(!failed || SameOutcome(failed, reference));
    }

    if (reference) {
        Check(reference->bytes.size() <= limits.maxBodyBytes);
        Check(reference->bytes.size() <= stream.size());
        Check(reference->contentType.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
        const std::u16string text =
            lumora::DecodeHttpText(reference->bytes, reference->contentType);
        // At most one character per byte, whatever the character set.
        Check(text.size() <= reference->bytes.size());
    }
    return 0;
}
