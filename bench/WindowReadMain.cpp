// Times Disc, Add in the main window, offscreen: the add-disc dialog answered with a custom
// directory and file names, the walk with the progress window shown, the main window disabled
// and pending events let run as the window lets them, then the tree rebuilt and the new disc
// selected. The process ends when the command returns, so that hyperfine can set it beside
// `orlenta-cli add --files --no-save` on the same tree.
//
//   orlenta-bench-window-read TREE [--no-rebuild]
//   orlenta-bench-window-read --virtual
//
// --no-rebuild: when the reading ends, the progress window is hidden, the main window enabled
// and busy mode left, but the tree is not rebuilt (the reading alone).
// --virtual: the dialog is answered with a virtual disc, so nothing is read: start-up, the window,
// the dialog and the rebuild of a one-disc tree, to subtract from the other figures.
//
// The times seen from inside (from triggering the command to the end of the walk, the rebuild,
// the whole command, then destroying the window with the tree and the catalogue) go to stderr.

#include "ScratchDesktop.h"
#include "WindowPart.h"
#include "core/reading/DiscReading.h"
#include "gui/mainwindow/DiscCommands.h"
#include "gui/mainwindow/MainForm.h"
#include "gui/reading/AddTreeDialogForm.h"
#include "gui/reading/ReadingDiscForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace {

using TClock = std::chrono::steady_clock;

double Milliseconds(TClock::time_point from, TClock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Any message box would wait for a user who is not there: say what it was and go on.
class TNoPrompts : public orlenta::TUserPrompts {
public:
    orlenta::TMessageAnswer Message(QWidget*, orlenta::TMessageKind, const QString& text,
                                    orlenta::TMessageButtons buttons) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        ++Messages;
        return buttons == orlenta::TMessageButtons::Ok ? orlenta::TMessageAnswer::Ok
                                                       : orlenta::TMessageAnswer::No;
    }
    QString FileName(QWidget*, const orlenta::TFileDialogRequest&) override { return {}; }

    static inline int Messages = 0;
};

// Answers the add-disc dialog once it is the active modal window, as a user would.
void AnswerAddDialog(const QString& tree, bool includeFilenames, int attempts) {
    QTimer::singleShot(0, [tree, includeFilenames, attempts] {
        auto* dialog =
            qobject_cast<orlenta::TAddTreeDialogForm*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            if (attempts > 0) {
                AnswerAddDialog(tree, includeFilenames, attempts - 1);
                return;
            }
            std::fprintf(stderr, "the add-disc dialog did not show\n");
            std::exit(1);
        }
        auto control = [dialog](const char* name) {
            auto* button = dialog->findChild<QAbstractButton*>(QString::fromLatin1(name));
            if (button == nullptr) {
                std::fprintf(stderr, "the add-disc dialog has no %s\n", name);
                std::exit(1);
            }
            return button;
        };
        if (tree.isEmpty()) {
            control("VirtualDiscRadioButton")->click();
        } else {
            control("CustomDirectoryRadioButton")->click();
            dialog->findChild<QComboBox*>(QStringLiteral("RootFromHistoryComboBox"))
                ->setEditText(tree);
        }
        if (control("IncludeFilenamesCheckBox")->isChecked() != includeFilenames)
            control("IncludeFilenamesCheckBox")->click();
        // Beside orlenta-cli add, which records no sizes unless asked: the same walk.
        if (control("RecordSizesCheckBox")->isChecked())
            control("RecordSizesCheckBox")->click();
        // The custom-directory box holds only so many characters; a cut path would read
        // something else or nothing.
        const QString chosen = dialog->Request().TreeRoot;
        if (chosen != tree) {
            std::fprintf(stderr, "the dialog took %s for %s\n", qPrintable(chosen),
                         qPrintable(tree));
            std::exit(1);
        }
        control("AddButton")->click();
    });
}

} // namespace

int main(int argc, char** argv) {
    const TScratchDesktop desktop;
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QString tree;
    bool rebuild = true;
    bool isVirtual = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QStringLiteral("--no-rebuild"))
            rebuild = false;
        else if (arguments[i] == QStringLiteral("--virtual"))
            isVirtual = true;
        else
            tree = arguments[i];
    }
    if (tree.isEmpty() == !isVirtual) {
        std::fprintf(stderr, "usage: orlenta-bench-window-read TREE [--no-rebuild]\n"
                             "       orlenta-bench-window-read --virtual\n");
        return 2;
    }

    auto window =
        std::make_unique<orlenta::TMainForm>(QStringList(), std::make_unique<TNoPrompts>());
    orlenta::TMainForm& form = *window;
    form.resize(1000, 700);
    form.show();
    QCoreApplication::processEvents();

    // The ready event marks the end of the walk; what the window does then is timed apart.
    orlenta::TDiscReading& reading =
        WindowPart<orlenta::TDiscCommands>(form, "DiscCommands").DiscReading();
    const std::function<void()> windowReady = reading.OnReady;
    TClock::time_point walkEnd;
    reading.OnReady = [&] {
        walkEnd = TClock::now();
        if (rebuild) {
            windowReady();
        } else {
            WindowPart<orlenta::TReadingDiscForm>(form, "ReadingDiscForm").hide();
            form.setEnabled(true);
            form.SetBusy(QString());
        }
    };

    AnswerAddDialog(tree, !isVirtual, 100);
    const TClock::time_point start = TClock::now();
    WindowPart<QAction>(form, "DiscAddAction").trigger();
    const TClock::time_point end = TClock::now();

    const orlenta::IXMLDiscType& disc = form.Session().XMLDiscData();
    if (!disc || TNoPrompts::Messages > 0 || form.Busy() || !form.isEnabled()) {
        std::fprintf(stderr, "the disc was not added as expected\n");
        return 1;
    }
    const auto count = [](std::string_view text) {
        return text.empty() ? std::string("0") : std::string(text);
    };
    std::fprintf(stderr,
                 "%s directories, %s files: command %.0f ms = dialog and walk %.0f ms + "
                 "%s %.0f ms\n",
                 count(disc.DirCount()).c_str(), count(disc.FileCount()).c_str(),
                 Milliseconds(start, end), Milliseconds(start, walkEnd),
                 rebuild ? "tree rebuild" : "end without rebuild", Milliseconds(walkEnd, end));
    // The tree and the catalogue go with the window, as at the end of a session.
    form.SetFileChanged(false);
    const TClock::time_point closing = TClock::now();
    window.reset();
    std::fprintf(stderr, "window destroyed in %.0f ms\n", Milliseconds(closing, TClock::now()));
    return 0;
}
