// The widget tests' QApplication, a plain one.
#include "qt_application_environment.h"

namespace {

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new kalvian::test::QtApplicationEnvironment);

} // namespace
