#pragma once
// Answers a modal dialog a test is about to open: queue the answer first,
// then open the dialog. Any other window that opens instead is closed and
// fails the test, so an unexpected box never blocks it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>

namespace orl::testing {

inline constexpr int kModalPollMs = 20;
inline constexpr int kModalTries = 150;

template <typename Dialog>
void AnswerNextModal(std::function<void(Dialog*)> answer, int triesLeft = kModalTries) {
  QTimer::singleShot(triesLeft == kModalTries ? 0 : kModalPollMs, [answer, triesLeft] {
    QWidget* open = QApplication::activeModalWidget();
    if (auto* dialog = qobject_cast<Dialog*>(open)) {
      // Active, as in front of an operator: focus and access keys work.
      dialog->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
      answer(dialog);
      return;
    }
    if (triesLeft > 0) {
      AnswerNextModal<Dialog>(answer, triesLeft - 1);
      return;
    }
    ADD_FAILURE() << "the expected dialog did not open"
                  << (open ? ", instead: " + open->windowTitle().toStdString() : std::string());
    if (auto* other = qobject_cast<QDialog*>(open)) other->reject();
  });
}

}  // namespace orl::testing
