#include "Service.h"

namespace qvs {

Reply Service::CutShort(std::string_view received) const {
    return {{},
            std::nullopt,
            "closed after " + std::to_string(received.size()) + " bytes of a request"};
}

} // namespace qvs
