#include "support/QtTestApplication.h"

namespace {

[[maybe_unused]] ::testing::Environment* const QtEnvironment =
    ::testing::AddGlobalTestEnvironment(new qvs::test::QtTestApplication);

} // namespace
