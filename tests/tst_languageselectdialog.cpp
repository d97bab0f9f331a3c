// Choosing the interface language for the next start: where "lang.ini" is kept, and
// the dialog that reads and writes it.

#include <QtTest>
#include <QtWidgets>
#include <memory>

#include "app/langini.h"
#include "app/languageselectdialog.h"

namespace {
const QString Question = QStringLiteral("Confirm change the language?");
const QString Stored = QStringLiteral("Language will be changed after application restart!");
const QString NotStored = QStringLiteral("The language choice could not be saved!");

// Answers each message box that comes up modally with `answer`, and keeps its text.
class MessageBoxes : public QObject
{
public:
    explicit MessageBoxes(QMessageBox::StandardButton reply)
        : answer(reply)
    {
        connect(&poll, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            texts << box->text();
            QAbstractButton *button = box->button(answer);
            button ? button->click() : box->button(QMessageBox::Ok)->click();
        });
        poll.start(10);
    }

    QStringList texts;

private:
    QMessageBox::StandardButton answer;
    QTimer poll;
};

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

int startupChoiceAt(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? LangIni::startupChoice(file) : LangIni::System;
}

QComboBox *comboBox(QDialog *dialog)
{
    return dialog->findChild<QComboBox *>(QStringLiteral("comboBox"));
}

void click(QDialog *dialog, const char *button)
{
    dialog->findChild<QPushButton *>(QLatin1String(button))->click();
}
} // namespace

class LanguageSelectDialogTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    LangIni::Location location;

    // Neither place can be written: the program's directory does not exist, and the
    // configuration directory would have to be made inside a plain file.
    LangIni::Location unwritable() const
    {
        return {dir->filePath("blocker/config/lang.ini"), dir->filePath("missing/lang.ini")};
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QVERIFY(QDir(dir->path()).mkdir("program"));
        QVERIFY(writeFile(dir->filePath("blocker"), "a file, not a directory"));
        location = {dir->filePath("config/lang.ini"), dir->filePath("program/lang.ini")};
    }

    void storePlaces_data()
    {
        QTest::addColumn<bool>("configFileExists");
        QTest::addColumn<bool>("programDirWritable");
        QTest::addColumn<QString>("storedIn");  // "program", "config" or empty: nowhere

        QTest::newRow("beside the program") << false << true << "program";
        QTest::newRow("program directory not writable") << false << false << "config";
        QTest::newRow("configuration file read first") << true << true << "config";
        QTest::newRow("configuration file, program not writable") << true << false << "config";
    }

    void storePlaces()
    {
        QFETCH(bool, configFileExists);
        QFETCH(bool, programDirWritable);
        QFETCH(QString, storedIn);
        if (!programDirWritable)
            location.programFile = unwritable().programFile;
        if (configFileExists) {
            QVERIFY(QDir(dir->path()).mkdir("config"));
            QVERIFY(writeFile(location.configFile, "Language:1"));
        }
        if (programDirWritable)
            QVERIFY(writeFile(location.programFile, "Language:1"));

        QVERIFY(LangIni::store(LangIni::Chinese, location));
        const QString stored = storedIn == "config" ? location.configFile : location.programFile;
        QCOMPARE(LangIni::readPath(location), stored);
        QCOMPARE(contentOf(stored), QByteArray("Language:2"));
        QCOMPARE(startupChoiceAt(LangIni::readPath(location)), int(LangIni::Chinese));
        if (programDirWritable && storedIn == "config")
            QCOMPARE(contentOf(location.programFile), QByteArray("Language:1"));
    }

    void nothingStoredWhereNothingCanBeWritten()
    {
        const LangIni::Location nowhere = unwritable();
        QVERIFY(!LangIni::store(LangIni::Chinese, nowhere));
        QVERIFY(!QFile::exists(nowhere.programFile));
        QVERIFY(!QFile::exists(nowhere.configFile));
        QVERIFY(!LangIni::store(LangIni::Chinese, {QString(), nowhere.programFile}));
    }

    void confirming_data()
    {
        QTest::addColumn<QByteArray>("content");  // null: no file
        QTest::addColumn<int>("startup");         // the language this file starts the program in
        QTest::addColumn<int>("startIndex");      // the dialog's selection when it opens
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("expected");  // null: no file
        QTest::addColumn<QStringList>("messages");

        const int yes = QMessageBox::Yes;
        const int no = QMessageBox::No;
        QTest::newRow("no file, unchanged") << QByteArray() << 0 << 0 << 0 << yes << QByteArray() << QStringList();
        QTest::newRow("english to chinese") << QByteArray("Language:1") << 1 << 1 << 2 << yes
                                            << QByteArray("Language:2") << QStringList{Question, Stored};
        QTest::newRow("chinese to system") << QByteArray("Language:2") << 2 << 2 << 0 << yes
                                           << QByteArray("Language:0") << QStringList{Question, Stored};
        QTest::newRow("no keeps the file") << QByteArray("Language:1") << 1 << 1 << 2 << no
                                           << QByteArray("Language:1") << QStringList{Question};
        QTest::newRow("line end, unchanged") << QByteArray("Language:2\n") << 2 << 2 << 2 << yes
                                             << QByteArray("Language:2\n") << QStringList();
        QTest::newRow("windows line end") << QByteArray("Language:1\r\n") << 1 << 1 << 2 << yes
                                          << QByteArray("Language:2") << QStringList{Question, Stored};
        // The program starts in Chinese from the second line; the dialog starts from
        // the first line's 5, which has no entry, so Chinese counts as a change.
        QTest::newRow("first counting line 5, second 2")
            << QByteArray("Language:5\nLanguage:2\n") << 2 << -1 << 2 << yes << QByteArray("Language:2")
            << QStringList{Question, Stored};
        QTest::newRow("value without entry, nothing chosen")
            << QByteArray("Language:5\nLanguage:2\n") << 2 << -1 << -1 << yes
            << QByteArray("Language:5\nLanguage:2\n") << QStringList();
    }

    void confirming()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, startup);
        QFETCH(int, startIndex);
        QFETCH(int, choice);
        QFETCH(int, answer);
        QFETCH(QByteArray, expected);
        QFETCH(QStringList, messages);
        if (!content.isNull())
            QVERIFY(writeFile(location.programFile, content));
        QCOMPARE(startupChoiceAt(LangIni::readPath(location)), startup);

        languageSelectDialog dialog(location);
        QCOMPARE(comboBox(&dialog)->currentIndex(), startIndex);
        comboBox(&dialog)->setCurrentIndex(choice);
        MessageBoxes boxes{QMessageBox::StandardButton(answer)};
        click(&dialog, "okBtn");

        QCOMPARE(boxes.texts, messages);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(QFile::exists(location.programFile), !expected.isNull());
        QCOMPARE(contentOf(location.programFile), expected);
        QVERIFY(!QFile::exists(location.configFile));
    }

    void unsavedChoiceIsReported()
    {
        languageSelectDialog dialog(unwritable());
        comboBox(&dialog)->setCurrentIndex(LangIni::Chinese);
        MessageBoxes boxes{QMessageBox::Yes};
        click(&dialog, "okBtn");
        QCOMPARE(boxes.texts, (QStringList{Question, NotStored}));
    }

    void dialogReadsTheConfigurationFileFirst()
    {
        QVERIFY(writeFile(location.programFile, "Language:1"));
        QVERIFY(QDir(dir->path()).mkdir("config"));
        QVERIFY(writeFile(location.configFile, "Language:2"));
        languageSelectDialog dialog(location);
        QCOMPARE(comboBox(&dialog)->currentIndex(), int(LangIni::Chinese));
    }

    void cancelWritesNothing()
    {
        QVERIFY(writeFile(location.programFile, "Language:1"));
        languageSelectDialog dialog(location);
        comboBox(&dialog)->setCurrentIndex(LangIni::Chinese);
        MessageBoxes boxes{QMessageBox::Yes};
        click(&dialog, "cancelBtn");
        QVERIFY(boxes.texts.isEmpty());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(contentOf(location.programFile), QByteArray("Language:1"));
    }
};

QTEST_MAIN(LanguageSelectDialogTest)
#include "tst_languageselectdialog.moc"
