// SPDX-License-Identifier: GPL-3.0-or-later
// Every translatable text in the sources is translated in each catalogue (English is
// read with -e): lupdate brings a copy up to date, and what it adds shows.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void everyTextIsTranslated_data()
    {
        QTest::addColumn<QString>("catalogue");
        QTest::newRow("Japanese") << "Skedra_ja_JP.ts";
        QTest::newRow("English") << "Skedra_en.ts";
    }
    void everyTextIsTranslated()
    {
        QFETCH(QString, catalogue);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString copy = dir.filePath(catalogue);
        QVERIFY(QFile::copy(QStringLiteral(SKEDRA_CATALOGUES "/") + catalogue, copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        QProcess lupdate;
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        lupdate.start(SKEDRA_LUPDATE, {"-silent", "-no-obsolete", "-locations", "none",
                                       "@" SKEDRA_TR_LIST, "-ts", copy});
        QVERIFY2(lupdate.waitForFinished(120000), "lupdate did not finish");
        QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());

        QFile f(copy);
        QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
        const QString ts = QString::fromUtf8(f.readAll());
        QVERIFY2(ts.count(QStringLiteral("<message")) > 50, "lupdate found too few texts");
        const QRegularExpression source(QStringLiteral("<source>(.*?)</source>"));
        const QRegularExpression translation(
            QStringLiteral("<translation(?: type=\"(\\w+)\")?>(.*?)</translation>"),
            QRegularExpression::DotMatchesEverythingOption);
        QStringList missing;
        for (const QString &message : ts.split(QStringLiteral("<message")).mid(1)) {
            const QRegularExpressionMatch t = translation.match(message);
            if (!t.hasMatch() || !t.captured(1).isEmpty() || t.captured(2).trimmed().isEmpty())
                missing << source.match(message).captured(1) + ' ' + t.captured(1);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join('\n')));
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
