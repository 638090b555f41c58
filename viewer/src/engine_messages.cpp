#include "engine_messages.h"

#include <vyn/vynfile.h>

#include <QApplication>
#include <QMessageBox>

namespace viewer {

namespace {

QString& lastMessage() {
    static QString last;
    return last;
}

}  // namespace

void showEngineMessages() { VYNFile_SetErrorCallback(queueEngineMessage); }

void queueEngineMessage(const char* title, const char* message) {
    const QString caption = QString::fromLocal8Bit(title);
    const QString text = QString::fromLocal8Bit(message);
    if (text == lastMessage()) {
        return;
    }
    lastMessage() = text;
    QMetaObject::invokeMethod(
        qApp, [caption, text] { QMessageBox::critical(QApplication::activeWindow(), caption, text); },
        Qt::QueuedConnection);
}

}  // namespace viewer
