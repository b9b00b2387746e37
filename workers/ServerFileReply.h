// The payload of the update server's RequestECDFile reply taken piece by
// piece: the item name, version and file name are checked against what was
// asked for as soon as they are in, before any byte of the file is passed
// on; then the file's bytes go to the sink as they arrive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qvs {

class ServerFileReply {
public:
    using Sink = std::function<void(std::string_view piece)>;

    // payloadLength: as the reply's header announced it.
    ServerFileReply(std::string itemName, std::int32_t version, std::size_t payloadLength,
                    Sink sink);

    // Throws ProtocolError for a reply that names another item, version or
    // file, StreamReadError when the file length does not fit the payload.
    void Take(std::string_view piece);
    // After the whole payload: throws StreamReadError when its fields never
    // ended.
    void Finish() const;

private:
    void ReadFields(std::size_t fileStart);
    void Pass(std::string_view bytes);

    std::string itemName_;
    std::int32_t version_;
    std::size_t payloadLength_;
    Sink sink_;
    std::string fields_;              // until they are whole
    std::optional<std::size_t> left_; // file bytes still due, once the fields are read
};

} // namespace qvs
