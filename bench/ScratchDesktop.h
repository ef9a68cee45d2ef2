#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

// The window registers the data-file type and keeps its state at every start: a benchmark does
// both in a scratch folder that goes with it, never in the user's. It draws offscreen unless
// QT_QPA_PLATFORM says otherwise. Made before the application.
class TScratchDesktop {
public:
    TScratchDesktop() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_DATA_HOME", QFile::encodeName(FFolder.filePath(QStringLiteral("data"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(FFolder.filePath(QStringLiteral("config"))));
    }

private:
    QTemporaryDir FFolder;
};
