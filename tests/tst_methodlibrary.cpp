// The operator's library of test methods on a real folder: files named after their
// methods, versions raised by editing, the method in use kept between starts.

#include <QtTest>

#include "analysis/methodlibrary.h"

namespace {

TestMethod named(const QString &name)
{
    TestMethod method;
    method.name = name;
    method.test.speed = 120;
    return method;
}

} // namespace

class tst_methodlibrary : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir.isValid()); }

    void methodsLiveInFilesOfTheirOwn()
    {
        MethodLibrary library(dir.filePath("methods"));
        QString error;
        const QString peel = library.add(named("Peel 25/50"), &error);
        QCOMPARE(peel, QStringLiteral("Peel_25_50.json"));
        // A second method of the same name gets a file of its own.
        const QString again = library.add(named("Peel 25/50"), &error);
        QCOMPARE(again, QStringLiteral("Peel_25_50-2.json"));
        QCOMPARE(library.add(named("拉伸"), &error), QStringLiteral("拉伸.json"));

        // Editing raises the stored version, whatever the edited copy says.
        TestMethod edited = library.entry(peel).method;
        edited.version = 1;
        edited.test.speed = 300;
        QVERIFY(library.update(peel, edited, &error));
        QVERIFY(library.update(peel, edited, &error));
        QCOMPARE(library.entry(peel).method.version, 3);
        QCOMPARE(library.entry(peel).method.test.speed, std::optional<int>(300));

        // A file that does not read is listed with the reason, and can be deleted.
        QFile broken(dir.filePath("methods/broken.json"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("{\"name\": 3}");
        broken.close();
        const QVector<MethodLibrary::Entry> entries = library.entries();
        QCOMPARE(entries.size(), 4);
        const auto refused = std::find_if(entries.begin(), entries.end(),
                                          [](const MethodLibrary::Entry &e) { return !e.error.isEmpty(); });
        QCOMPARE(refused->fileName, QStringLiteral("broken.json"));
        QVERIFY(refused->error.contains("name: "));
        QVERIFY(library.remove("broken.json", &error));
        QCOMPARE(library.entries().size(), 3);
        QVERIFY(!library.remove("broken.json", &error));
        QVERIFY(!error.isEmpty());
    }

    void methodInUseIsKeptBetweenStarts()
    {
        const QString folder = dir.filePath("methods");
        QString error;
        {
            MethodLibrary library(folder);
            QVERIFY(!library.methodInUse());
            library.setInUse(library.add(named("Spring"), &error));
        }
        MethodLibrary restarted(folder);
        QCOMPARE(restarted.methodInUse()->name, QStringLiteral("Spring"));

        // A method in use that no longer reads, or is gone, leaves none in use.
        QFile file(folder + "/Spring.json");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not json");
        file.close();
        QCOMPARE(restarted.inUse(), QStringLiteral("Spring.json"));
        QVERIFY(!restarted.methodInUse());
        QVERIFY(restarted.remove("Spring.json", &error));
        QCOMPARE(restarted.inUse(), QString());
    }

private:
    QTemporaryDir dir;
};

QTEST_GUILESS_MAIN(tst_methodlibrary)
#include "tst_methodlibrary.moc"
