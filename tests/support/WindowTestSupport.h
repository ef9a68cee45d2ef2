#pragma once

// Shared by the window tests: scripted answers for message boxes and file dialogs, answering the
// program's own modal dialogs, and small catalogues built through the core.

#include "core/catalogue/OrlentaData.h"
#include "gui/UserPrompts.h"
#include "gui/widgets/DiscInfoDockingForm.h"

#include <QAbstractItemModel>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orlenta::test {

struct TDirectoryRequest {
    QString Caption;
    QString Start;
};

struct TShownMessage {
    TMessageKind Kind;
    QString Text;
    TMessageButtons Buttons;
};

// Answers from queues and records every question. An unexpected question is recorded and
// answered with Cancel (OK for a box that has only OK).
class TScriptedPrompts : public TUserPrompts {
public:
    struct TState {
        std::deque<TMessageAnswer> Answers;
        std::deque<QString> FileNames; // the empty text cancels the dialog
        std::vector<TShownMessage> Messages;
        std::vector<TFileDialogRequest> FileRequests;
        std::deque<QString> DirectoryNames; // the empty text cancels the picker
        std::vector<TDirectoryRequest> DirectoryRequests;
        int Unexpected = 0;
    };
    explicit TScriptedPrompts(TState& state) : FState(state) {}

    TMessageAnswer Message(QWidget*, TMessageKind kind, const QString& text,
                           TMessageButtons buttons) override;
    QString FileName(QWidget*, const TFileDialogRequest& request) override;
    QString DirectoryName(QWidget*, const QString& caption, const QString& start) override;

private:
    TState& FState;
};

// The control of parent named name; a test that asks for a control that is not there stops,
// naming it.
template <typename T> T* Child(const QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr)
        qFatal("No %s named %s", T::staticMetaObject.className(), name);
    return child;
}

// A control of a disc panel, wherever its host moved it.
template <typename T> T* Child(const TDiscInfoDockingForm& panel, const char* name) {
    return Child<T>(*panel.DiscInfoPanel(), name);
}

// Runs action on the next modal dialog that inherits className once it shows (from a timer,
// while the code under test waits in exec()). The answer is withdrawn when the object goes, so
// that a dialog the code failed to show cannot be answered by a later test.
class TDialogAnswer {
public:
    TDialogAnswer(const char* className, std::function<void(QWidget*)> action);
    ~TDialogAnswer();
    TDialogAnswer(const TDialogAnswer&) = delete;
    TDialogAnswer& operator=(const TDialogAnswer&) = delete;
    bool Answered() const { return FAnswered; }

private:
    std::unique_ptr<QTimer> FTimer;
    bool FAnswered = false;
};

// Points XDG_CONFIG_HOME at a fresh scratch folder, so that the window state that windows read
// and write there reaches neither the user's files nor the next test. Make one in every window
// test's init(), and let it go only after the windows: when it goes, XDG_CONFIG_HOME still names
// its removed folder rather than the user's.
class TScratchConfigHome {
public:
    TScratchConfigHome();
    // The profile file of the windows: orlenta/Orlenta.ini in the scratch folder.
    QString IniPath() const;
    // The file's bytes; empty when there is none.
    QByteArray IniBytes() const;

private:
    QTemporaryDir FDirectory;
};

// A scratch directory made the working directory, where loads and saves put their temporary
// file.
class TScratchWorkingDirectory {
public:
    TScratchWorkingDirectory();
    ~TScratchWorkingDirectory();
    QString FilePath(const QString& name) const { return FDirectory.filePath(name); }
    std::string LocalPath(const QString& name) const;

private:
    QTemporaryDir FDirectory;
    QString FPrevious;
};

// The catalogue most tests browse. Discs in document order:
//   "Zeta" (Root 1; files z1.txt, a0.txt): beta (2; b.txt), Alpha (3, no Filenames): deep (4;
//   d.txt) "alpha disc" (Root 5; file r.txt)
IXMLOrlentaDataType BrowsingCatalogue();
// Writes root as a data file at path.
void WriteDataFile(const IXMLOrlentaDataType& root, const std::string& path);

// The rows of a table model, each its cells' display texts joined by '|'.
QStringList TableRows(const QAbstractItemModel& model);

} // namespace orlenta::test
