#pragma once

#include "ClientDataSet.h"
#include "DialogService.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <functional>
#include <vector>

// Runs a QtTest class on the offscreen platform, whatever the environment says, with a user
// configuration of its own (the screens remember their layout there).
#define FAI_UI_TEST_MAIN(TestClass)                             \
    int main(int argc, char** argv) {                           \
        qputenv("QT_QPA_PLATFORM", "offscreen");                \
        QTemporaryDir userConfig;                               \
        qputenv("XDG_CONFIG_HOME", userConfig.path().toUtf8()); \
        QApplication app(argc, argv);                           \
        TestClass test;                                         \
        return QTest::qExec(&test, argc, argv);                 \
    }

// The current row's value of a data column, for use inside an expression.
#define FAI_FETCH(Type, name) (*static_cast<Type*>(QTest::qData(#name, ::qMetaTypeId<Type>())))

namespace fai::testing {

// Shows the window and waits until it takes the keyboard, as a user's window would.
inline bool ShowActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

// Answers every message with `answer` the way a message box behaves under a window manager:
// its window takes the activation, and the keyboard focus with it, while it is shown; the
// screen gets the activation back only later (ShowActive again, once the handler that showed
// the message has returned), and Qt then gives the focus back to the control the screen last
// had. Off screen, without this, the focus never leaves the screen around a message.
inline void AnswerLikeAWindowManager(int answer = mrOk) {
    DialogService::Instance().SetMessageScript([answer](const ShownMessage&) {
        QWidget box;
        auto* ok = new QPushButton(QStringLiteral("OK"), &box);
        box.show();
        QApplication::setActiveWindow(&box);
        ok->setFocus();
        return answer;
    });
}

// Answers every message box with `answer` and records what was asked; modal screens are
// run by `modal` (a cancel when none is given). Clears the scripts when it goes.
class DialogScript {
  public:
    explicit DialogScript(
        int answer = mrOk,
        std::function<int(QDialog&)> modal = [](QDialog&) { return int(mrCancel); }) {
        DialogService::Instance().ClearShown();
        DialogService::Instance().SetMessageScript(
            [answer](const ShownMessage&) { return answer; });
        DialogService::Instance().SetModalScript(std::move(modal));
    }
    ~DialogScript() {
        DialogService::Instance().ClearScripts();
        DialogService::Instance().ClearShown();
    }
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    const std::vector<ShownMessage>& Shown() const { return DialogService::Instance().Shown(); }
    QStringList Texts() const {
        QStringList texts;
        for (const ShownMessage& message : Shown()) texts << message.text;
        return texts;
    }
};

}  // namespace fai::testing
