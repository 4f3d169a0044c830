// Keeps the Japanese catalogue complete: every translatable text in the
// current sources must have a finished, non-empty translation.
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct Message
{
    QString context;
    QString source;
    QString comment;
    QString translation;
    QString type; // "", "unfinished", "vanished", "obsolete"
};

QList<Message> readCatalogue(const QString &path, QString *error)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot open %1").arg(path);
        return messages;
    }
    QXmlStreamReader xml(&file);
    QString context;
    Message m;
    bool inMessage = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("context")) {
                context.clear();
            } else if (name == QLatin1String("name") && !inMessage) {
                context = xml.readElementText();
            } else if (name == QLatin1String("message")) {
                m = Message{context, {}, {}, {}, {}};
                inMessage = true;
            } else if (inMessage && name == QLatin1String("source")) {
                m.source = xml.readElementText();
            } else if (inMessage && name == QLatin1String("comment")) {
                m.comment = xml.readElementText();
            } else if (inMessage && name == QLatin1String("translation")) {
                m.type = xml.attributes().value(QLatin1String("type")).toString();
                m.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            messages << m;
            inMessage = false;
        }
    }
    if (xml.hasError())
        *error = QStringLiteral("%1: %2").arg(path, xml.errorString());
    return messages;
}

QString keyOf(const Message &m)
{
    return m.context + QChar(0x1f) + m.source + QChar(0x1f) + m.comment;
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void everyTextIsTranslated()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString fresh = dir.filePath("fresh_ja_JP.ts");
        QProcess lupdate;
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        lupdate.start(SKEDRA_LUPDATE, {"-silent", "-no-obsolete", "-locations", "none",
                                       "@" SKEDRA_TR_LIST, "-ts", fresh});
        QVERIFY2(lupdate.waitForFinished(120000), "lupdate did not finish");
        QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());

        QString error;
        const QList<Message> wanted = readCatalogue(fresh, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(!wanted.isEmpty(), "lupdate found no translatable text at all");
        const QList<Message> committed = readCatalogue(SKEDRA_CATALOGUE, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));

        QHash<QString, Message> byKey;
        for (const Message &m : committed)
            byKey.insert(keyOf(m), m);

        QStringList missing;
        for (const Message &m : wanted) {
            const auto it = byKey.constFind(keyOf(m));
            if (it == byKey.constEnd())
                missing << QStringLiteral("[%1] \"%2\": not in the catalogue").arg(m.context, m.source);
            else if (!it->type.isEmpty())
                missing << QStringLiteral("[%1] \"%2\": marked %3").arg(m.context, m.source, it->type);
            else if (it->translation.trimmed().isEmpty())
                missing << QStringLiteral("[%1] \"%2\": empty translation").arg(m.context, m.source);
        }
        if (!missing.isEmpty())
            QFAIL(qPrintable(QStringLiteral("%1 of %2 texts lack a finished Japanese translation:\n  %3")
                                 .arg(missing.size())
                                 .arg(wanted.size())
                                 .arg(missing.join(QStringLiteral("\n  ")))));
        qInfo("%d texts, all translated", int(wanted.size()));
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
