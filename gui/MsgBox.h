#pragma once
// Every message box of the program goes through MsgBox, so tests can record them instead.

#include "session/Message.h"

#include <QString>
#include <functional>

class QWidget;

namespace kel {

enum class MsgButtons { Ok, YesNo };

struct MsgBoxCall {
    QString Text;
    QString Caption;
    MessageIcon Icon;
    MsgButtons Buttons;
};

// Shows a modal box with text1 + text2 + text3; true when the user answered "Yes".
bool MsgBox(const QString& text1, const QString& text2, const QString& text3, const QString& caption,
            MessageIcon icon, MsgButtons buttons = MsgButtons::Ok, QWidget* parent = nullptr);
bool MsgBox(const Message& message, QWidget* parent = nullptr);

// Replaces the boxes (tests): the handler receives each call and gives the answer.
using MsgBoxHandler = std::function<bool(const MsgBoxCall&)>;
void SetMsgBoxHandler(MsgBoxHandler handler); // an empty handler restores the real boxes

} // namespace kel
