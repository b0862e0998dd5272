// Runs lapidraw-tool as a separate process, as a user or a script would, for the command-line tests.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

// Exit code and both output streams of one run.
struct ToolRun {
    int Code = -1;
    QByteArray Out, Err;
    QJsonObject Json() const {
        QJsonParseError error;
        const auto doc = QJsonDocument::fromJson(Out, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        return doc.object();
    }
};

inline ToolRun Tool(const QStringList& arguments,
                    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(LAPIDRAW_TOOL, arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// A file's bytes, empty when it cannot be read.
inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
