// The window registers the data-file type as the first step of its start; a failure is said
// once, on standard error and in the status bar, and the window starts fully all the same.

#include "WindowTestSupport.h"
#include "gui/mainwindow/MainForm.h"

#include <QAction>
#include <QFile>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <unistd.h>

using namespace orlenta;
using namespace orlenta::test;
using namespace Qt::StringLiterals;

namespace {

// Standard error goes to a file while the object lives.
class TCapturedStandardError {
public:
    explicit TCapturedStandardError(const QString& path) : FPath(path) {
        std::fflush(stderr);
        FSaved = dup(STDERR_FILENO);
        FILE* file = std::fopen(QFile::encodeName(path).constData(), "w");
        dup2(fileno(file), STDERR_FILENO);
        std::fclose(file);
    }
    ~TCapturedStandardError() { Restore(); }
    QString Text() {
        Restore();
        QFile file(FPath);
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll());
    }

private:
    void Restore() {
        if (FSaved < 0)
            return;
        std::fflush(stderr);
        dup2(FSaved, STDERR_FILENO);
        close(FSaved);
        FSaved = -1;
    }
    QString FPath;
    int FSaved = -1;
};

} // namespace

class TRegistrationAtStartTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        FHome = std::make_unique<QTemporaryDir>();
        QVERIFY(FHome->isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(FHome->filePath(u"data"_s)));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(FHome->filePath(u"config"_s)));
    }

    void registersTheRunningProgram() {
        TScriptedPrompts::TState prompts;
        TMainForm form({}, std::make_unique<TScriptedPrompts>(prompts));
        QFile entry(FHome->filePath(u"data/applications/orlenta.desktop"_s));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains(
            "\nExec=" + QFile::encodeName(QCoreApplication::applicationFilePath()) + " %f\n"));
        QVERIFY(Child<QStatusBar>(form, "StatusBar")->currentMessage().isEmpty());
        QVERIFY(prompts.Messages.empty());
    }

    void failureIsSaidOnceAndTheWindowStarts() {
        // A file where the data folder belongs.
        QFile blocker(FHome->filePath(u"data"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        TScriptedPrompts::TState prompts;
        TCapturedStandardError standardError(FHome->filePath(u"stderr"_s));
        TMainForm form({}, std::make_unique<TScriptedPrompts>(prompts));
        const QString said = "Failed to register the .olx file type with the desktop. Cannot "
                             "create folder \""_L1 +
                             FHome->filePath(u"data"_s) + "\". Not a directory."_L1;
        QCOMPARE(standardError.Text(), "orlenta: "_L1 + said + "\n"_L1);
        QCOMPARE(Child<QStatusBar>(form, "StatusBar")->currentMessage(), said);
        QVERIFY(prompts.Messages.empty());
        QVERIFY(form.Session().XMLIndexData());
        QVERIFY(Child<QAction>(form, "FileNewAction")->isEnabled());
        QVERIFY(Child<QAction>(form, "DiscAddAction")->isEnabled());
    }

private:
    std::unique_ptr<QTemporaryDir> FHome;
};

QTEST_MAIN(TRegistrationAtStartTest)
#include "RegistrationAtStartTest.moc"
