#pragma once

// Where the window meets the user with a question: message boxes and the file dialogs. The window
// asks through TUserPrompts so that a test can answer in advance; the default answers with real
// Qt dialogs.

#include "core/catalogue/CatalogueSession.h"

#include <QString>
#include <exception>
#include <memory>

class QMessageBox;
class QWidget;

namespace orlenta {

// The title of every message box and the application's name.
inline constexpr const char* kApplicationTitle = "Orlenta";

enum class TMessageButtons { Ok, YesNo, YesNoCancel };
enum class TMessageAnswer { Ok, Yes, No, Cancel };

// What a file dialog is asked to show.
struct TFileDialogRequest {
    bool Save = false; // a save dialog (asks before overwriting) rather than an open dialog
    QString Title;
    QString Filter;
    QString DefaultSuffix;
    QString ProposedName; // empty: no initial file name
};

class TUserPrompts {
public:
    virtual ~TUserPrompts() = default;
    // Shows a message box and returns the button that closed it (Escape and the close box give
    // the Escape button of the set).
    virtual TMessageAnswer Message(QWidget* parent, TMessageKind kind, const QString& text,
                                   TMessageButtons buttons);
    // The chosen path, or the empty text when the user cancelled.
    virtual QString FileName(QWidget* parent, const TFileDialogRequest& request);
    // The folder picker, starting at start (empty: anywhere), without a way to make a folder: the
    // chosen directory, or the empty text when the user cancelled.
    virtual QString DirectoryName(QWidget* parent, const QString& caption, const QString& start);
};

// A message box headed "Orlenta" with the icon of kind and the button set. OK is the default
// button when present, Yes otherwise; Cancel, or No when there is no Cancel, answers Escape and the
// close box.
std::unique_ptr<QMessageBox> CreateMessageBox(QWidget* parent, TMessageKind kind,
                                              const QString& text, TMessageButtons buttons);

// The application's error box for error: its text, with the full stop of ErrorMessageText.
void ShowErrorBox(TUserPrompts& prompts, QWidget* parent, std::exception_ptr error);

// An error text as the error box shows it: a full stop is appended when the last character
// comes after the full stop in code order (a letter or a digit, typically).
QString ErrorMessageText(const QString& text);

} // namespace orlenta
