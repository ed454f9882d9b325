#include "gui/MsgBox.h"

#include <QMessageBox>

namespace kel {
namespace {
MsgBoxHandler& Handler() {
    static MsgBoxHandler handler;
    return handler;
}
} // namespace

void SetMsgBoxHandler(MsgBoxHandler handler) { Handler() = std::move(handler); }

bool MsgBox(const QString& text1, const QString& text2, const QString& text3, const QString& caption,
            MessageIcon icon, MsgButtons buttons, QWidget* parent) {
    const MsgBoxCall call{text1 + text2 + text3, caption, icon, buttons};
    if (Handler())
        return Handler()(call);
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Warning, caption, call.Text,
                    buttons == MsgButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    if (!parent)
        box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}

bool MsgBox(const Message& message, QWidget* parent) {
    return MsgBox(QString::fromStdString(message.Text), {}, {}, QString::fromStdString(message.Caption), message.Icon,
                  MsgButtons::Ok, parent);
}

} // namespace kel
