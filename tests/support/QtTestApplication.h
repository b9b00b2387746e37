// One application object for all tests of a Qt test program, made before the
// first test and gone before the program's static objects are: Qt must not
// outlive its own globals. Only the Qt test programs include this header.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include <gtest/gtest.h>

#include <QApplication>

namespace qvs::test {

class QtTestApplication : public ::testing::Environment {
public:
    // prepare runs just before the application is made (settings that Qt
    // reads only then).
    explicit QtTestApplication(std::function<void()> prepare = {}) : prepare_(std::move(prepare)) {}

    void SetUp() override {
        if (prepare_) {
            prepare_();
        }
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    std::function<void()> prepare_;
    int argc_ = 1;
    char name_[6] = "tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

} // namespace qvs::test
