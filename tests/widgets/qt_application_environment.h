#pragma once

#include <QApplication>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace kalvian::test {

// One QApplication for every Qt test of an executable, made before the first test (then started as
// `start` says) and destroyed after the last. The test environment sets the offscreen platform.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    using Start = std::function<void(QApplication&)>;

    explicit QtApplicationEnvironment(Start start = {}) : m_start(std::move(start)) {}

    void SetUp() override {
        m_application = std::make_unique<QApplication>(m_argc, m_argv);
        if (m_start) {
            m_start(*m_application);
        }
    }
    void TearDown() override { m_application.reset(); }

private:
    Start m_start;
    int m_argc = 1;
    char m_name[16] = "qt_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_application;
};

} // namespace kalvian::test
