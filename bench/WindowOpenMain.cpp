// Times the main window on a large catalogue, offscreen: opening a data file (load, tree rebuild,
// sort, first click), then clicks on a directory with many file names and on the deepest
// directory of the last disc (the longest walk of the click).
//
//   orlenta-bench-window CATALOGUE.olx [--wide N] [--clicks K] [--sizes]
//
// The catalogue is copied into the working directory with one disc added whose top directory
// holds N file names (10000 unless told), so that the clicked list is that long; with --sizes
// each of them has a size and a modification time.

#include "ScratchDesktop.h"
#include "WindowPart.h"
#include "core/catalogue/CatalogueSession.h"
#include "gui/mainwindow/CatalogueTreeModel.h"
#include "gui/mainwindow/MainForm.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

// The catalogue at source with a disc of wide file names added, written to target.
void PrepareCatalogue(const std::string& source, const std::string& target, int wide, bool sizes) {
    orlenta::TSilentHost host;
    orlenta::TCatalogueSession session(host);
    session.SetOrlentaFilename(source);
    if (!session.LoadDataFile())
        std::exit(1);
    const orlenta::IXMLDiscType disc = session.XMLIndexData().Discs().Add();
    disc.SetTitle("Wide disc");
    disc.Root().SetID(std::to_string(session.NextDirectoryID()));
    const orlenta::IXMLFilenamesType names = disc.Root().Filenames();
    for (int i = 0; i < wide; ++i) {
        const orlenta::IXMLFilenameType name = names.Add();
        name.SetText("file name number " + std::to_string(i) + ".txt");
        if (sizes) {
            name.SetSize(static_cast<std::uint64_t>(i) * 7919 % 5000000);
            name.SetModified(1600000000 + static_cast<std::int64_t>(i) * 3571);
        }
    }
    session.SetOrlentaFilename(target);
    session.SaveDataFile();
}

double gLastHandlerMs = 0;

const orlenta::TCatalogueTreeModel& TreeModel(const orlenta::TMainForm& form) {
    return *qobject_cast<const orlenta::TCatalogueTreeModel*>(
        WindowPart<QTreeView>(form, "TreeView").model());
}

// Selects node and clicks it as the tree does: the button's release, which the window answers
// with its click handler, away from the expand mark. The time includes painting the whole
// window; the handler's own share is left in gLastHandlerMs.
double TimeClick(orlenta::TMainForm& form, int node) {
    QTreeView& tree = WindowPart<QTreeView>(form, "TreeView");
    const QModelIndex index = TreeModel(form).IndexOfNode(node);
    tree.selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    const QPointF point(tree.viewport()->width() - 2, 1);
    QMouseEvent release(QEvent::MouseButtonRelease, point, tree.viewport()->mapToGlobal(point),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    const TClock::time_point start = TClock::now();
    QCoreApplication::sendEvent(tree.viewport(), &release);
    gLastHandlerMs = MillisecondsSince(start);
    form.repaint();
    QCoreApplication::processEvents();
    return MillisecondsSince(start);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const TScratchDesktop desktop;
    QApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(
            stderr,
            "usage: orlenta-bench-window CATALOGUE.olx [--wide N] [--clicks K] [--sizes]\n");
        return 2;
    }
    int wide = 10000;
    int clicks = 7;
    bool sizes = false;
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        if (arguments[i] == QStringLiteral("--sizes"))
            sizes = true;
        else if (i + 1 >= arguments.size())
            break;
        else if (arguments[i] == QStringLiteral("--wide"))
            wide = arguments[++i].toInt();
        else if (arguments[i] == QStringLiteral("--clicks"))
            clicks = std::max(1, arguments[++i].toInt());
    }
    const std::string catalogue = "bench-window.olx";
    PrepareCatalogue(arguments[1].toStdString(), catalogue, wide, sizes);

    orlenta::TMainForm form({});
    form.resize(1000, 700);
    form.show();
    QCoreApplication::processEvents();

    TClock::time_point start = TClock::now();
    form.OpenDataFile(catalogue);
    form.repaint();
    QCoreApplication::processEvents();
    const double openMs = MillisecondsSince(start);

    const orlenta::TCatalogueTreeModel& model = TreeModel(form);
    int wideNode = orlenta::TCatalogueTreeModel::kNoNode;
    for (int node : model.TopLevel())
        if (model.Node(node).Text == QStringLiteral("Wide disc"))
            wideNode = node;
    // The deepest directory of the disc last in the document: the click's walk passes every
    // directory of every disc before it.
    const int discCount = form.Session().XMLIndexData().Discs().Count();
    const std::string lastRealId(
        form.Session().XMLIndexData().Discs().Disc(discCount - 2).Root().ID());
    int deepNode = orlenta::TCatalogueTreeModel::kNoNode;
    for (int node = 0; node < model.NodeCount(); ++node)
        if (std::to_string(model.Node(node).Data) == lastRealId)
            deepNode = node;
    while (deepNode != orlenta::TCatalogueTreeModel::kNoNode &&
           !model.Node(deepNode).Children.empty())
        deepNode = model.Node(deepNode).Children.back();

    std::vector<double> wideClicks;
    std::vector<double> deepClicks;
    std::vector<double> wideHandler;
    std::vector<double> deepHandler;
    for (int i = 0; i < clicks; ++i) {
        wideClicks.push_back(TimeClick(form, wideNode));
        wideHandler.push_back(gLastHandlerMs);
        deepClicks.push_back(TimeClick(form, deepNode));
        deepHandler.push_back(gLastHandlerMs);
    }
    const QAbstractItemModel& files = *WindowPart<QAbstractItemView>(form, "FilesListBox").model();
    const qsizetype listed = files.rowCount();
    TimeClick(form, wideNode);
    std::printf("nodes %d, discs %d\n", model.NodeCount(), discCount);
    std::printf("open (load, rebuild, sort, first click): %.0f ms\n", openMs);
    std::printf("click on a directory with %lld file names: median %.1f ms (handler %.1f ms), "
                "first %.1f ms\n",
                static_cast<long long>(files.rowCount()), Median(wideClicks), Median(wideHandler),
                wideClicks.front());
    std::printf("click on the deepest directory of the last disc (%lld names): median %.1f ms "
                "(handler %.1f ms)\n",
                static_cast<long long>(listed), Median(deepClicks), Median(deepHandler));
    form.Session().SetFileChanged(false);
    std::remove(catalogue.c_str());
    return 0;
}
