// Scrambled .ecd files and game-server replies arrive from outside: Decode and
// the typed reads must cope with any bytes, and Encode must undo Decode.
#include "FuzzSupport.h"

#include <string>

namespace {

using qvs::fuzz::Check;

void CheckRoundTrip(const std::uint8_t* data, std::size_t size) {
    qvs::CStream stream;
    stream.Write(data, size);
    stream.Decode();
    Check(stream.Position() == 0 && stream.Size() <= size);
    const std::string plain(stream.View());
    stream.Encode();
    Check(stream.Size() >= plain.size() && plain.empty() == (stream.Size() == 0));
    stream.Decode();
    Check(stream.View() == plain);
    // Fresh streams draw alike, whether Encode works in place or not.
    qvs::CStream exact;
    qvs::CStream roomy;
    exact.Write(plain.data(), plain.size());
    roomy.Reserve(plain.size() * 2 + 2);
    roomy.Write(plain.data(), plain.size());
    exact.Encode();
    roomy.Encode();
    Check(exact.View() == roomy.View());
}

// Reads typed values as a worker would, the kind chosen by each leading byte.
void CheckTypedReads(const std::uint8_t* data, std::size_t size) {
    qvs::CStream stream = qvs::fuzz::StreamOf(data, size);
    qvs::fuzz::Refusing<qvs::StreamReadError>([&stream] {
        while (stream.Remaining() > 0) {
            std::uint8_t kind = 0;
            stream.ReadByte(kind);
            const std::size_t before = stream.Position();
            if (kind % 2 == 0) {
                std::string text;
                const int consumed = stream.ReadString(text);
                const std::size_t advance = stream.Position() - before;
                Check(static_cast<std::size_t>(consumed) == advance && advance >= text.size() &&
                      advance <= text.size() + 1 && text.find('\0') == std::string::npos);
            } else {
                std::int32_t value = 0;
                stream.ReadInt(value);
            }
        }
    });
    Check(stream.Position() <= stream.Size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckRoundTrip(data, size);
    CheckTypedReads(data, size);
    return 0;
}
