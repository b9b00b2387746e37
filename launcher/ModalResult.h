// What a modal window of the launcher closed with.
#pragma once

namespace qvs {

enum class ModalResult : int {
    None = 0,
    OK = 1,
    Cancel = 2,
};

} // namespace qvs
