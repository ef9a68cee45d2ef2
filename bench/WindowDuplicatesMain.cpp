// Times Duplicates and Overlap in the main window on a large catalogue, offscreen, and how long
// the window's thread stops meanwhile: a timer that ticks every millisecond measures the longest
// gap between its ticks, which is how long a keystroke or a click would wait.
//
//   orlenta-bench-window-duplicates CATALOGUE.olx [--disc INDEX] [--runs N]
//
// The first ask of a session: the name index is not built yet, so the time includes reading the
// catalogue in slices. Right after a change: the index is being built again (it is, after every
// change, once a view has asked for it), and the ask waits for it. Built: only the groups or the
// overlap are computed. Medians of N runs (5); the first ask is one run per process.

#include "ScratchDesktop.h"
#include "WindowPart.h"
#include "core/catalogue/CatalogueSession.h"
#include "gui/mainwindow/CatalogueTreeModel.h"
#include "gui/mainwindow/MainForm.h"
#include "gui/search/DuplicateGroupModel.h"
#include "gui/search/DuplicatesPanel.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

double MillisecondsBetween(TClock::time_point start, TClock::time_point end) {
    return std::chrono::duration<double, std::milli>(end - start).count();
}

struct TFigure {
    double Wall;  // from the ask until the answer is on screen
    double Stall; // the longest the window's thread did not answer
};

// Runs the event loop from ask() until done() holds, ticking every millisecond.
TFigure Measure(const std::function<void()>& ask, const std::function<bool()>& done) {
    QEventLoop loop;
    TClock::time_point last = TClock::now();
    double stall = 0;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const TClock::time_point now = TClock::now();
        stall = std::max(stall, MillisecondsBetween(last, now));
        last = now;
        if (done())
            loop.quit();
    });
    const TClock::time_point start = TClock::now();
    last = start;
    ticker.start();
    QTimer::singleShot(0, [&] { ask(); });
    loop.exec();
    return {MillisecondsBetween(start, TClock::now()), stall};
}

// Selects the disc's node in the tree as a click does.
void SelectDisc(orlenta::TMainForm& form, int disc) {
    QTreeView& tree = WindowPart<QTreeView>(form, "TreeView");
    const auto& model = *qobject_cast<const orlenta::TCatalogueTreeModel*>(tree.model());
    const QModelIndex index = model.IndexOfNode(model.TopLevel()[static_cast<size_t>(disc)]);
    tree.selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    const QPointF point(tree.visualRect(index).center());
    QMouseEvent release(QEvent::MouseButtonRelease, point, tree.viewport()->mapToGlobal(point),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree.viewport(), &release);
}

// Asks for the overlap of the selected disc; done when its dialog shows, which is then closed.
TFigure MeasureOverlap(orlenta::TMainForm& form, QString& status) {
    QDialog* shown = nullptr;
    const TFigure figure =
        Measure([&] { WindowPart<QAction>(form, "OverlapAction").trigger(); },
                [&] {
                    if (shown != nullptr)
                        return false;
                    shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                    if (shown == nullptr)
                        return false;
                    status = WindowPart<QLabel>(*shown, "OverlapStatusLabel").text();
                    // The dialog runs its own loop; closing it lets the ask return.
                    QTimer::singleShot(0, shown, &QDialog::reject);
                    return true;
                });
    return figure;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct TSeries {
    std::vector<double> Wall;
    std::vector<double> Stall;
    void Add(const TFigure& figure) {
        Wall.push_back(figure.Wall);
        Stall.push_back(figure.Stall);
    }
    void Print(const char* what) const {
        std::printf("%-44s median %6.1f ms, longest stall median %5.1f ms (worst %5.1f)\n", what,
                    Median(Wall), Median(Stall), *std::max_element(Stall.begin(), Stall.end()));
    }
};

} // namespace

int main(int argc, char** argv) {
    const TScratchDesktop desktop;
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: orlenta-bench-window-duplicates CATALOGUE.olx [--disc INDEX] "
                             "[--runs N]\n");
        return 2;
    }
    int disc = 0;
    int runs = 5;
    for (qsizetype i = 2; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == QStringLiteral("--disc"))
            disc = arguments[i + 1].toInt();
        else if (arguments[i] == QStringLiteral("--runs"))
            runs = std::max(1, arguments[i + 1].toInt());
    }

    orlenta::TMainForm form({});
    form.resize(1000, 700);
    form.show();
    const std::string catalogue = arguments[1].toStdString();
    form.OpenDataFile(catalogue);
    QCoreApplication::processEvents();
    auto& panel = WindowPart<orlenta::TDuplicatesPanel>(form, "DuplicatesPanel");
    auto& status = WindowPart<QLabel>(panel, "DuplicatesStatusLabel");
    const auto found = [&] {
        return !panel.Searching() && status.text().contains(QStringLiteral(" in "));
    };

    TSeries firstOverlap;
    TSeries coldDuplicates;
    TSeries warmDuplicates;
    TSeries coldOverlap;
    TSeries warmOverlap;
    QString duplicatesStatus;
    QString overlapStatus;
    SelectDisc(form, disc);
    firstOverlap.Add(MeasureOverlap(form, overlapStatus));
    WindowPart<QAction>(form, "DuplicatesAction").trigger();
    QCoreApplication::processEvents();
    for (int run = 0; run < runs; ++run) {
        // The catalogue opened again, as after any change, drops the index; the panel, shown,
        // asks for it again once the open has returned.
        form.OpenDataFile(catalogue);
        status.clear();
        coldDuplicates.Add(Measure([] {}, found));
        duplicatesStatus = status.text();
        // Warm: another minimum size, past the typing pause, on the index built.
        auto& minSize = WindowPart<QLineEdit>(panel, "DuplicatesMinSizeEdit");
        status.clear();
        TFigure warm = Measure(
            [&] { minSize.setText(run % 2 == 0 ? QStringLiteral("2") : QStringLiteral("1")); },
            found);
        warm.Wall -= 250;
        warmDuplicates.Add(warm);
        SelectDisc(form, disc);
        warmOverlap.Add(MeasureOverlap(form, overlapStatus));
    }
    // With the Duplicates panel closed, only the overlap waits for the index.
    WindowPart<QWidget>(form, "DuplicatesDock").hide();
    for (int run = 0; run < runs; ++run) {
        form.OpenDataFile(catalogue);
        SelectDisc(form, disc);
        coldOverlap.Add(MeasureOverlap(form, overlapStatus));
    }
    const orlenta::TDuplicateGroupModel& groups = panel.Groups();
    std::printf("%d discs, %d duplicate groups; medians of %d runs\n",
                form.Session().XMLIndexData().Discs().Count(), groups.rowCount(), runs);
    firstOverlap.Print("overlap, first ask of the session:");
    coldDuplicates.Print("duplicates, right after a change:");
    warmDuplicates.Print("duplicates, index built (typing pause left out):");
    coldOverlap.Print("overlap, right after a change:");
    warmOverlap.Print("overlap, index built:");
    std::printf("last statuses: \"%s\", \"%s\"\n", qPrintable(duplicatesStatus),
                qPrintable(overlapStatus));
    form.Session().SetFileChanged(false);
    return 0;
}
