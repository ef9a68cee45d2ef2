#include "MainFormTestSupport.h"

#include "gui/WindowText.h"
#include "gui/mainwindow/CatalogueTreeModel.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QTreeView>

namespace orlenta::test {

std::unique_ptr<TMainForm> MakeForm(TScriptedPrompts::TState& prompts,
                                    const QStringList& arguments) {
    auto form = std::make_unique<TMainForm>(arguments, std::make_unique<TScriptedPrompts>(prompts));
    form->resize(900, 600);
    form->show();
    return form;
}

void TBrowsingWindowFixture::UseKnownCollation() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TBrowsingWindowFixture::SetUp() {
    FConfigHome = std::make_unique<TScratchConfigHome>();
    FScratch = std::make_unique<TScratchWorkingDirectory>();
    FPrompts = {};
    FCatalogueFile = FScratch->FilePath(QStringLiteral("browsing.olx"));
    WriteDataFile(BrowsingCatalogue(), ToLocalPath(FCatalogueFile));
}

void TBrowsingWindowFixture::TearDown(std::unique_ptr<TMainForm>* form) {
    QCOMPARE(FPrompts.Unexpected, 0);
    if (form != nullptr)
        form->reset();
    FScratch.reset();
}

QTreeView* TreeView(const TMainForm& form) {
    return Child<QTreeView>(form, "TreeView");
}

const TCatalogueTreeModel& TreeModel(const TMainForm& form) {
    return *qobject_cast<const TCatalogueTreeModel*>(TreeView(form)->model());
}

const QWidget& DiscPanel(const TMainForm& form) {
    return *Child<QWidget>(form, "DiscHostPanel");
}

std::vector<QAction*> AllActions(const TMainForm& form) {
    std::vector<QAction*> actions;
    for (const char* name :
         {"FileNewAction", "FileOpenAction", "FileSaveAction", "FileSaveAsAction", "FileInfoAction",
          "FileExitAction", "DiscAddAction", "DiscRemoveAction", "DiscRescanAction",
          "DiscInfoAction", "SearchAction", "FindAllAction", "AboutAction",
          "DiscStopReadingAction"})
        actions.push_back(Child<QAction>(form, name));
    return actions;
}

QStringList EnabledActions(const TMainForm& form) {
    QStringList names;
    for (QAction* action : AllActions(form))
        if (action->isEnabled())
            names << action->objectName();
    return names;
}

QStringList IdleActions(bool saveEnabled, bool discSelected) {
    QStringList names{QStringLiteral("FileNewAction"), QStringLiteral("FileOpenAction")};
    if (saveEnabled)
        names << QStringLiteral("FileSaveAction");
    names << QStringLiteral("FileSaveAsAction") << QStringLiteral("FileInfoAction")
          << QStringLiteral("FileExitAction") << QStringLiteral("DiscAddAction")
          << QStringLiteral("DiscRemoveAction");
    if (discSelected)
        names << QStringLiteral("DiscRescanAction");
    names << QStringLiteral("DiscInfoAction") << QStringLiteral("SearchAction")
          << QStringLiteral("FindAllAction") << QStringLiteral("AboutAction");
    return names;
}

QStringList Texts(const TMainForm& form, const std::vector<int>& nodes) {
    const TCatalogueTreeModel& model = TreeModel(form);
    QStringList texts;
    for (int node : nodes)
        texts << model.Node(node).Text;
    return texts;
}

int NodeAt(const TMainForm& form, const QStringList& path) {
    const TCatalogueTreeModel& model = TreeModel(form);
    const std::vector<int>* level = &model.TopLevel();
    int found = TCatalogueTreeModel::kNoNode;
    for (const QString& text : path) {
        found = TCatalogueTreeModel::kNoNode;
        for (int node : *level)
            if (model.Node(node).Text == text)
                found = node;
        if (found == TCatalogueTreeModel::kNoNode)
            return found;
        level = &model.Node(found).Children;
    }
    return found;
}

QString SelectedText(const TMainForm& form) {
    const QModelIndexList selected = TreeView(form)->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : selected.front().data().toString();
}

QStringList ListedFiles(const TMainForm& form) {
    const QAbstractItemModel& model = *Child<QAbstractItemView>(form, "FilesListBox")->model();
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.index(row, 0).data().toString();
    return names;
}

void ClickNode(TMainForm& form, const QStringList& path) {
    const int node = NodeAt(form, path);
    QVERIFY(node != TCatalogueTreeModel::kNoNode);
    QTreeView* tree = TreeView(form);
    const QModelIndex index = TreeModel(form).IndexOfNode(node);
    tree->scrollTo(index);
    const QPoint point = tree->visualRect(index).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, point);
}

QString PanelTitle(const TMainForm& form) {
    return Child<QLineEdit>(DiscPanel(form), "TitleLabeledEdit")->text();
}

} // namespace orlenta::test
