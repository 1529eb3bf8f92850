// The window tests' QApplication, started as the program starts it: its title, and Qt's own texts in
// Portuguese whatever the locale (the test environment sets a C locale).
#include "app/application_start.h"
#include "widgets/qt_application_environment.h"

namespace {

[[maybe_unused]] ::testing::Environment* const kEnvironment = ::testing::AddGlobalTestEnvironment(
    new kalvian::test::QtApplicationEnvironment([](QApplication& application) {
        ASSERT_TRUE(kalvian::startApplication(application))
            << "the Portuguese translation built into the program did not load";
    }));

} // namespace
