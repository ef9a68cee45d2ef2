#include "MainFormTestSupport.h"

#include "gui/WindowText.h"
#include "gui/mainwindow/CatalogueTreeModel.h"

#include <QLineEdit>
#include <QLocale>
#include <QStringListModel>
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

std::vector<QAction*> AllActions(const TMainForm& form) {
    return {Child<QAction>(form, "FileNewAction"),        Child<QAction>(form, "FileOpenAction"),
            Child<QAction>(form, "FileSaveAction"),       Child<QAction>(form, "FileSaveAsAction"),
            Child<QAction>(form, "FileInfoAction"),       Child<QAction>(form, "FileExitAction"),
            Child<QAction>(form, "DiscAddAction"),        Child<QAction>(form, "DiscRemoveAction"),
            Child<QAction>(form, "DiscInfoAction"),       Child<QAction>(form, "SearchAction"),
            Child<QAction>(form, "FindAllAction"),        Child<QAction>(form, "AboutAction"),
            Child<QAction>(form, "DiscStopReadingAction")};
}

QStringList EnabledActions(const TMainForm& form) {
    QStringList names;
    for (QAction* action : AllActions(form))
        if (action->isEnabled())
            names << action->objectName();
    return names;
}

QStringList IdleActions(bool saveEnabled) {
    QStringList names{QStringLiteral("FileNewAction"), QStringLiteral("FileOpenAction")};
    if (saveEnabled)
        names << QStringLiteral("FileSaveAction");
    names << QStringLiteral("FileSaveAsAction") << QStringLiteral("FileInfoAction")
          << QStringLiteral("FileExitAction") << QStringLiteral("DiscAddAction")
          << QStringLiteral("DiscRemoveAction") << QStringLiteral("DiscInfoAction")
          << QStringLiteral("SearchAction") << QStringLiteral("FindAllAction")
          << QStringLiteral("AboutAction");
    return names;
}

QStringList Texts(const TMainForm& form, const std::vector<int>& nodes) {
    QStringList texts;
    for (int node : nodes)
        texts << form.TreeModel().Node(node).Text;
    return texts;
}

int NodeAt(const TMainForm& form, const QStringList& path) {
    const std::vector<int>* level = &form.TreeModel().TopLevel();
    int found = TCatalogueTreeModel::kNoNode;
    for (const QString& text : path) {
        found = TCatalogueTreeModel::kNoNode;
        for (int node : *level)
            if (form.TreeModel().Node(node).Text == text)
                found = node;
        if (found == TCatalogueTreeModel::kNoNode)
            return found;
        level = &form.TreeModel().Node(found).Children;
    }
    return found;
}

QString SelectedText(const TMainForm& form) {
    const QModelIndexList selected =
        Child<QTreeView>(form, "TreeView")->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : selected.front().data().toString();
}

QStringList ListedFiles(const TMainForm& form) {
    return form.FilesModel().stringList();
}

void ClickNode(TMainForm& form, const QStringList& path) {
    const int node = NodeAt(form, path);
    QVERIFY(node != TCatalogueTreeModel::kNoNode);
    const QModelIndex index = form.TreeModel().IndexOfNode(node);
    Child<QTreeView>(form, "TreeView")->scrollTo(index);
    const QPoint point = Child<QTreeView>(form, "TreeView")->visualRect(index).center();
    QTest::mouseClick(Child<QTreeView>(form, "TreeView")->viewport(), Qt::LeftButton, {}, point);
}

QString PanelTitle(const TMainForm& form) {
    return Child<QLineEdit>(form.DiscInfoDockingForm(), "TitleLabeledEdit")->text();
}

} // namespace orlenta::test
