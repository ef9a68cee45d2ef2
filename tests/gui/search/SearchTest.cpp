// The Search command in the window: the dialog, hits selected one at a time in the tree, the
// prompt's answers, and "Search done".

#include "MainFormTestSupport.h"
#include "WindowTestSupport.h"
#include "gui/WindowText.h"
#include "gui/mainwindow/CatalogueTreeModel.h"
#include "gui/mainwindow/MainForm.h"
#include "gui/search/SearchDialogForm.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>
#include <QTest>
#include <QTreeView>

using namespace orlenta;
using namespace orlenta::test;

namespace {

struct TSearchInput {
    QString Keyword;
    bool Filename = false;
    bool Cancel = false;
};

QModelIndex IndexOfText(const TMainForm& form, const QString& text) {
    const TCatalogueTreeModel& model = TreeModel(form);
    for (int node = 0; node < model.NodeCount(); ++node)
        if (model.Node(node).Text == text)
            return model.IndexOfNode(node);
    return {};
}

QString Prompt(const char* discTitle) {
    return QStringLiteral("Keyword found in disc ") + QString::fromUtf8(discTitle) +
           QStringLiteral("\nContinue search?");
}

} // namespace

class TSearchTest : public QObject, private TBrowsingWindowFixture {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> FForm;

    // Runs Search with input typed into the dialog.
    void Search(const TSearchInput& input) {
        TDialogAnswer answer("orlenta::TSearchDialogForm", [input](QWidget* widget) {
            auto* dialog = static_cast<TSearchDialogForm*>(widget);
            QTest::keyClicks(Child<QLineEdit>(*dialog, "SearchTextEdit"), input.Keyword);
            Child<QCheckBox>(*dialog, "SearchInFilenameCheckBox")->setChecked(input.Filename);
            (input.Cancel ? Child<QPushButton>(*dialog, "Button2")
                          : Child<QPushButton>(*dialog, "OkButton"))
                ->click();
        });
        Child<QAction>(*FForm, "SearchAction")->trigger();
        QVERIFY(answer.Answered());
    }

    QStringList MessageTexts() const {
        QStringList texts;
        for (const TShownMessage& message : FPrompts.Messages)
            texts << message.Text;
        return texts;
    }

private slots:
    void initTestCase() { UseKnownCollation(); }

    void init() {
        SetUp();
        FForm = std::make_unique<TMainForm>(QStringList{FCatalogueFile},
                                            std::make_unique<TScriptedPrompts>(FPrompts));
        FForm->show();
    }

    void cleanup() { TearDown(&FForm); }

    void dialogStartsFromTheDefaults() {
        TSearchDialogForm dialog(FForm.get());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Search"));
        QCOMPARE(Child<QLineEdit>(dialog, "SearchTextEdit")->text(), QString());
        QVERIFY(Child<QCheckBox>(dialog, "SearchInTitleCheckBox")->isChecked());
        QVERIFY(Child<QCheckBox>(dialog, "SearchInVendorCheckBox")->isChecked());
        QVERIFY(Child<QCheckBox>(dialog, "SearchInMemoCheckBox")->isChecked());
        QVERIFY(Child<QCheckBox>(dialog, "SearchInDirectoryCheckBox")->isChecked());
        QVERIFY(!Child<QCheckBox>(dialog, "SearchInFilenameCheckBox")->isChecked());
        QCOMPARE(Child<QPushButton>(dialog, "OkButton")->text(), QStringLiteral("&Search"));
        QCOMPARE(Child<QPushButton>(dialog, "Button2")->text(), QStringLiteral("&Cancel"));
        QVERIFY(Child<QPushButton>(dialog, "OkButton")->isDefault());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), Child<QLineEdit>(dialog, "SearchTextEdit"));
    }

    void yesToEveryHitEndsWithSearchDone() {
        FPrompts.Answers = {TMessageAnswer::Yes, TMessageAnswer::Yes};
        Search({QStringLiteral("alpha")});
        // Zeta by its directory Alpha, then "alpha disc" by its title.
        QCOMPARE(MessageTexts(), (QStringList{Prompt("Zeta"), Prompt("alpha disc"),
                                              QStringLiteral("Search done")}));
        QCOMPARE(FPrompts.Messages[0].Kind, TMessageKind::Information);
        QCOMPARE(FPrompts.Messages[0].Buttons, TMessageButtons::YesNo);
        QCOMPARE(FPrompts.Messages[2].Buttons, TMessageButtons::Ok);
        QCOMPARE(SelectedText(*FForm), QStringLiteral("alpha disc"));
        QCOMPARE(FForm->Session().XMLDiscData().Title(), std::string_view("alpha disc"));
        QVERIFY(!FForm->FileChanged());
    }

    void noEndsTheSearchAtOnce() {
        FPrompts.Answers = {TMessageAnswer::No};
        Search({QStringLiteral("alpha")});
        QCOMPARE(MessageTexts(), QStringList{Prompt("Zeta")});
        QCOMPARE(SelectedText(*FForm), QStringLiteral("Alpha"));
        QVERIFY(TreeView(*FForm)->isExpanded(IndexOfText(*FForm, QStringLiteral("Alpha"))));
        QVERIFY(TreeView(*FForm)->isExpanded(IndexOfText(*FForm, QStringLiteral("Zeta"))));
    }

    void aFileNameHitSelectsItsDirectory() {
        FPrompts.Answers = {TMessageAnswer::Yes};
        Search({QStringLiteral("D.TXT"), true});
        QCOMPARE(MessageTexts(), (QStringList{Prompt("Zeta"), QStringLiteral("Search done")}));
        QCOMPARE(SelectedText(*FForm), QStringLiteral("deep"));
        QCOMPARE(ListedFiles(*FForm), QStringList{QStringLiteral("d.txt")});
        QVERIFY(TreeView(*FForm)->isExpanded(IndexOfText(*FForm, QStringLiteral("Alpha"))));
    }

    void searchCollapsesTheTreeButCancelLeavesIt() {
        TreeView(*FForm)->expandAll();
        const QModelIndex zeta = IndexOfText(*FForm, QStringLiteral("Zeta"));
        const QString selected = SelectedText(*FForm);
        Search({QStringLiteral("alpha"), false, true});
        QVERIFY(FPrompts.Messages.empty());
        QVERIFY(TreeView(*FForm)->isExpanded(zeta));
        QCOMPARE(SelectedText(*FForm), selected);

        Search({QString()});
        QCOMPARE(MessageTexts(), QStringList{QStringLiteral("Search done")});
        QVERIFY(!TreeView(*FForm)->isExpanded(zeta));
        QVERIFY(!TreeView(*FForm)->isExpanded(IndexOfText(*FForm, QStringLiteral("Alpha"))));
    }
};

QTEST_MAIN(TSearchTest)
#include "SearchTest.moc"
