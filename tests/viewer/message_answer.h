// Answers the message box a test expects, so that the test goes on; what the box said is
// kept for the test to check.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <memory>

struct AnsweredMessage {
    QString title;
    QString text;
};

/// Answers the next message box with OK once the event loop runs; the result stays empty
/// when none was open then.
inline std::shared_ptr<AnsweredMessage> answerNextMessage() {
    auto answered = std::make_shared<AnsweredMessage>();
    QTimer::singleShot(0, [answered] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            answered->title = box->windowTitle();
            answered->text = box->text();
            box->accept();
        }
    });
    return answered;
}
