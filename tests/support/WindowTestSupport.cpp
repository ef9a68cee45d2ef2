#include "WindowTestSupport.h"

#include "core/catalogue/CatalogueSession.h"
#include "gui/WindowText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QWidget>

namespace orlenta::test {

namespace {

IXMLDirectoryType AddDirectory(const IXMLDirectoryType& parent, const char* name, const char* id,
                               std::initializer_list<const char*> files) {
    const IXMLDirectoryType directory = parent.Directories().Add();
    directory.SetName(name);
    directory.SetID(id);
    for (const char* file : files)
        directory.Filenames().Add().SetText(file);
    return directory;
}

} // namespace

TMessageAnswer TScriptedPrompts::Message(QWidget*, TMessageKind kind, const QString& text,
                                         TMessageButtons buttons) {
    FState.Messages.push_back({kind, text, buttons});
    if (buttons == TMessageButtons::Ok)
        return TMessageAnswer::Ok;
    if (FState.Answers.empty()) {
        ++FState.Unexpected;
        return TMessageAnswer::Cancel;
    }
    const TMessageAnswer answer = FState.Answers.front();
    FState.Answers.pop_front();
    return answer;
}

QString TScriptedPrompts::FileName(QWidget*, const TFileDialogRequest& request) {
    FState.FileRequests.push_back(request);
    if (FState.FileNames.empty()) {
        ++FState.Unexpected;
        return {};
    }
    const QString name = FState.FileNames.front();
    FState.FileNames.pop_front();
    return name;
}

QString TScriptedPrompts::DirectoryName(QWidget*, const QString& caption, const QString& start) {
    FState.DirectoryRequests.push_back({caption, start});
    if (FState.DirectoryNames.empty()) {
        ++FState.Unexpected;
        return {};
    }
    QString name = FState.DirectoryNames.front();
    FState.DirectoryNames.pop_front();
    return name;
}

TDialogAnswer::TDialogAnswer(const char* className, std::function<void(QWidget*)> action)
    : FTimer(std::make_unique<QTimer>()) {
    QObject::connect(FTimer.get(), &QTimer::timeout, [this, className, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->inherits(className)) {
            FTimer->stop();
            FAnswered = true;
            action(modal);
        }
    });
    FTimer->start(10);
}

TDialogAnswer::~TDialogAnswer() = default;

TScratchConfigHome::TScratchConfigHome() {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(FDirectory.path()));
}

QString TScratchConfigHome::IniPath() const {
    return FDirectory.filePath(QStringLiteral("orlenta/Orlenta.ini"));
}

QByteArray TScratchConfigHome::IniBytes() const {
    QFile file(IniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TScratchWorkingDirectory::TScratchWorkingDirectory() : FPrevious(QDir::currentPath()) {
    QDir::setCurrent(FDirectory.path());
}

TScratchWorkingDirectory::~TScratchWorkingDirectory() {
    QDir::setCurrent(FPrevious);
}

std::string TScratchWorkingDirectory::LocalPath(const QString& name) const {
    return ToLocalPath(FilePath(name));
}

IXMLOrlentaDataType BrowsingCatalogue() {
    IXMLOrlentaDataType root = NewOrlentaData();
    root.SetTitle("Archive");
    root.SetLastDirectoryID("5");
    const IXMLDiscType zeta = root.Discs().Add();
    zeta.SetTitle("Zeta");
    zeta.SetVendor("Vendor Z");
    zeta.SetMediaType("CD-R");
    zeta.SetFileCount("4");
    const IXMLDirectoryType zetaRoot = zeta.Root();
    zetaRoot.SetID("1");
    zetaRoot.Filenames().Add().SetText("z1.txt");
    zetaRoot.Filenames().Add().SetText("a0.txt");
    AddDirectory(zetaRoot, "beta", "2", {"b.txt"});
    const IXMLDirectoryType alpha = AddDirectory(zetaRoot, "Alpha", "3", {});
    AddDirectory(alpha, "deep", "4", {"d.txt"});
    const IXMLDiscType second = root.Discs().Add();
    second.SetTitle("alpha disc");
    second.Root().SetID("5");
    second.Root().Filenames().Add().SetText("r.txt");
    return root;
}

void WriteDataFile(const IXMLOrlentaDataType& root, const std::string& path) {
    TSilentHost host;
    TCatalogueSession session(host);
    session.ReplaceCatalogue(root);
    session.SetOrlentaFilename(path);
    session.SaveDataFile();
}

QStringList TableRows(const QAbstractItemModel& model) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(row, column).data().toString();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace orlenta::test
