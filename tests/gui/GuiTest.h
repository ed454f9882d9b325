#pragma once
// Shared by the window tests: an offscreen screen of a known size, message boxes recorded
// instead of shown, and small invented data folders.

#include "app/FixedScreen.h"
#include "gui/MsgBox.h"
#include "tests/TestUtil.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

namespace kel::guitest {

// Every message box of the program, recorded; answers "No".
class MessageRecorder {
public:
    MessageRecorder() {
        SetMsgBoxHandler([this](const MsgBoxCall& call) {
            Calls.append(call);
            return false;
        });
    }
    ~MessageRecorder() { SetMsgBoxHandler({}); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;
    QStringList Texts() const {
        QStringList texts;
        for (const MsgBoxCall& call : Calls)
            texts << call.Text;
        return texts;
    }
    QList<MsgBoxCall> Calls;
};

inline void WriteBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A data folder with the settings file beside the data.
struct Folder {
    QTemporaryDir Dir;
    QString Path(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }
    QString Ini() const { return Path("Kelvara.ini"); }
    void Stages(const std::vector<test::StageSpec>& stages) const {
        WriteBytes(Path("trinfo.bin"), test::StageFileBytes(stages));
    }
    void Log(const std::vector<std::string>& lines) const { WriteBytes(Path("zlttimes.log"), test::LogBytes(lines)); }
    // Lines of the section "Visparam" (other sections may follow with their own section lines).
    void Settings(const std::string& lines) const { WriteBytes(Ini(), "[Visparam]\r\n" + lines); }
};

} // namespace kel::guitest

// A QtTest main on an offscreen screen of 1280 x 1024 pixels at 96 dpi.
#define KELVARA_GUI_TEST_MAIN(TestClass)                                                                  \
    int main(int argc, char** argv) {                                                                     \
        QTemporaryDir screenDir;                                                                          \
        kel::UseFixedOffscreenScreen(screenDir.path());                                                  \
        QApplication app(argc, argv);                                                                     \
        TestClass test;                                                                                   \
        QTEST_SET_MAIN_SOURCE_PATH                                                                        \
        return QTest::qExec(&test, argc, argv);                                                           \
    }
