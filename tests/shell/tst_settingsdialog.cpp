// The settings dialog driven as a user does: the six checks in order, the fiscal code length
// rule, the municipality list with its search by part of the name, CloseUp keeping a typed
// denomination, "Salva" and "Annulla".

#include "support/ScriptedInteraction.h"
#include "support/TestFolder.h"

#include "archive/Tdm.h"
#include "archive/forms/TdlgImpostazioni.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTest>

using namespace zol;
using zol::test::ScriptedInteraction;
using zol::test::TestFolder;

namespace {

const QString kHeading = QStringLiteral("Sono stati riscontrati i seguenti problemi:\n");

// Field name -> text, for the rows of the tables below.
using Fields = QMap<QString, QString>;

Fields complete()
{
    return {{"ecap", "00118"},
            {"eBelf", "H501"},
            {"eprov", "RM"},
            {"edenom", "COMUNE DI ROMA"},
            {"eindirizzo", "VIA DEL CAMPIDOGLIO 1"},
            {"ecodfisc", "02438750586"}};
}

} // namespace

class TestSettingsDialog : public QObject
{
    Q_OBJECT

private:
    struct Fixture
    {
        TestFolder folder;
        Tdm dm{folder.path()};
        ScriptedInteraction user;
        std::unique_ptr<TdlgImpostazioni> dlg;
        Fixture() { dm.DataModuleCreate(); }
        TdlgImpostazioni& open()
        {
            dlg = std::make_unique<TdlgImpostazioni>(dm);
            dlg->show();
            if (!QTest::qWaitForWindowExposed(dlg.get()))
                qWarning("dialog not exposed");
            return *dlg;
        }
        QLineEdit* edit(const QString& name) { return dlg->findChild<QLineEdit*>(name); }
        QComboBox* citta() { return dlg->findChild<QComboBox*>(QStringLiteral("ecitta")); }
        void fill(const Fields& fields)
        {
            for (auto it = fields.begin(); it != fields.end(); ++it) {
                QLineEdit* e = edit(it.key());
                QVERIFY2(e, qPrintable(it.key()));
                e->setText(it.value());
            }
        }
        void click(const char* button)
        {
            QTest::mouseClick(dlg->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
        }
        // Opens the drop-down list and picks the row of the municipality with this code.
        void choose(const QString& codice)
        {
            QComboBox* c = citta();
            c->showPopup();
            QAbstractItemView* v = c->view();
            const QModelIndexList hit =
                v->model()->match(v->model()->index(0, 3), Qt::DisplayRole, codice, 1, Qt::MatchExactly);
            QVERIFY2(!hit.isEmpty(), qPrintable(codice));
            v->setCurrentIndex(hit.first().siblingAtColumn(0));
            QTest::keyClick(v, Qt::Key_Return);
            QTRY_VERIFY(!v->isVisible());
        }
    };

private slots:
    void fieldsShowTheSettings()
    {
        Fixture f;
        f.dm.EnteSettings.CITTA = QStringLiteral("FORLÌ");
        f.dm.EnteSettings.TEL = QStringLiteral("0543 712111");
        f.dm.EnteSettings.BELFIORE = QStringLiteral("D704");
        TdlgImpostazioni& d = f.open();
        QCOMPARE(d.windowTitle(), QStringLiteral("Impostazioni"));
        QCOMPARE(f.citta()->currentText(), QStringLiteral("FORLÌ"));
        QCOMPARE(f.edit("etel")->text(), QStringLiteral("0543 712111"));
        QCOMPARE(f.edit("eBelf")->text(), QStringLiteral("D704"));
        QCOMPARE(f.edit("edenom")->text(), QStringLiteral("COMUNE DI ..."));
        QCOMPARE(f.edit("ecap")->text(), QString());
        // The Italian municipalities, without the foreign states of the same table.
        QCOMPARE(d.comuniModel()->rowCount(), 7904);
    }

    void checks_data()
    {
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<QString>("problems"); // empty: saved
        QTest::newRow("all empty") << Fields{{"edenom", ""}}
                                   << "Denominazione Ente - campo obbligatorio\n"
                                      "Indirizzo - campo obbligatorio\n"
                                      "CAP - campo obbligatorio\n"
                                      "Codice belfiore dell'ente - campo obbligatorio\n"
                                      "Provincia - campo obbligatorio\n"
                                      "Codice Fiscale Ente - valore errato o mancante\n";
        Fields blanks = complete();
        blanks["edenom"] = "   ";
        blanks["eprov"] = " ";
        QTest::newRow("blanks only") << blanks
                                     << "Denominazione Ente - campo obbligatorio\n"
                                        "Provincia - campo obbligatorio\n";
        QTest::newRow("complete") << complete() << "";
        const struct
        {
            const char* name;
            const char* code;
            bool ok;
        } codes[] = {
            {"code of 10", "1234567890", false},
            {"code of 11 blanks", "           ", false},
            {"code with letters", "ABCDEFGHIJK", true},
            {"code of 10 and a blank", "1234567890 ", false},
            {"code of 12 is cut to 11", "123456789012", true},
            {"no code", "", false},
        };
        for (const auto& c : codes) {
            Fields f = complete();
            f["ecodfisc"] = QLatin1String(c.code);
            QTest::newRow(c.name) << f << (c.ok ? "" : "Codice Fiscale Ente - valore errato o mancante\n");
        }
    }
    void checks()
    {
        QFETCH(Fields, fields);
        QFETCH(QString, problems);
        Fixture f;
        f.dm.EnteSettings.DENOMINAZIONE.clear();
        const TEnteSettings before = f.dm.EnteSettings;
        TdlgImpostazioni& d = f.open();
        f.fill(fields);
        f.click("bSalvaConf");
        if (problems.isEmpty()) {
            QCOMPARE(f.user.texts(), QStringList());
            QCOMPARE(d.result(), int(QDialog::Accepted));
            QVERIFY(!d.isVisible());
            QCOMPARE(f.dm.EnteSettings.CODICEFISCALE, f.edit("ecodfisc")->text());
        } else {
            QCOMPARE(f.user.texts(), QStringList{kHeading + problems});
            QCOMPARE(f.user.messages.first().title, QStringLiteral("Impostazioni"));
            QVERIFY(d.isVisible());
            QCOMPARE(f.dm.EnteSettings.DENOMINAZIONE, before.DENOMINAZIONE);
            QCOMPARE(f.dm.EnteSettings.CODICEFISCALE, before.CODICEFISCALE);
            QCOMPARE(f.dm.EnteSettings.BELFIORE, before.BELFIORE);
        }
    }

    // Saved as typed, blanks included; the town from the text of the list.
    void saveCopiesAsTyped()
    {
        Fixture f;
        f.open();
        Fields fields = complete();
        fields["edenom"] = "  COMUNE DI ROMA ";
        fields["etel"] = "06 0606";
        fields["efax"] = " 06 1234";
        fields["eemail"] = "PROTOCOLLO@COMUNE.ROMA.IT";
        fields["eresp"] = "ING. ROSSI";
        f.fill(fields);
        f.citta()->setEditText(QStringLiteral("ROMA CAPITALE"));
        f.click("bSalvaConf");
        const TEnteSettings& s = f.dm.EnteSettings;
        QCOMPARE(s.DENOMINAZIONE, QStringLiteral("  COMUNE DI ROMA "));
        QCOMPARE(s.CITTA, QStringLiteral("ROMA CAPITALE"));
        QCOMPARE(s.CAP, QStringLiteral("00118"));
        QCOMPARE(s.BELFIORE, QStringLiteral("H501"));
        QCOMPARE(s.PROVINCIA, QStringLiteral("RM"));
        QCOMPARE(s.INDIRIZZO, QStringLiteral("VIA DEL CAMPIDOGLIO 1"));
        QCOMPARE(s.CODICEFISCALE, QStringLiteral("02438750586"));
        QCOMPARE(s.TEL, QStringLiteral("06 0606"));
        QCOMPARE(s.FAX, QStringLiteral(" 06 1234"));
        QCOMPARE(s.EMAIL, QStringLiteral("PROTOCOLLO@COMUNE.ROMA.IT"));
        QCOMPARE(s.RESPONSABILE, QStringLiteral("ING. ROSSI"));
    }

    void cancelKeepsSettings()
    {
        Fixture f;
        f.dm.EnteSettings.INDIRIZZO = QStringLiteral("PIAZZA GRANDE 1");
        TdlgImpostazioni& d = f.open();
        f.fill(complete());
        f.click("bAnnullaConf");
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(f.dm.EnteSettings.INDIRIZZO, QStringLiteral("PIAZZA GRANDE 1"));
        QCOMPARE(f.dm.EnteSettings.BELFIORE, QString());
        f.open();
        QCOMPARE(f.edit("eindirizzo")->text(), QStringLiteral("PIAZZA GRANDE 1"));
        QCOMPARE(f.edit("eBelf")->text(), QString());
    }

    void closeUp_data()
    {
        QTest::addColumn<QString>("denomination");
        QTest::addColumn<QStringList>("codes"); // chosen one after the other
        QTest::addColumn<QString>("cap");
        QTest::addColumn<QString>("belfiore");
        QTest::addColumn<QString>("prov");
        QTest::addColumn<QString>("denominationAfter");
        QTest::newRow("empty denomination") << "" << QStringList{"H501"} << "00118"
                                            << "H501"
                                            << "RM"
                                            << "COMUNE DI ROMA";
        QTest::newRow("placeholder of a new installation") << "COMUNE DI ..." << QStringList{"H501"} << "00118"
                                                           << "H501"
                                                           << "RM"
                                                           << "COMUNE DI ROMA";
        QTest::newRow("blank denomination") << "   " << QStringList{"F205"} << "20121"
                                            << "F205"
                                            << "MI"
                                            << "COMUNE DI MILANO";
        QTest::newRow("second choice keeps the first denomination") << "" << QStringList{"H501", "F205"} << "20121"
                                                                    << "F205"
                                                                    << "MI"
                                                                    << "COMUNE DI ROMA";
        QTest::newRow("typed denomination kept") << "UNIONE DEI COMUNI" << QStringList{"D704"} << "47121"
                                                 << "D704"
                                                 << "FC"
                                                 << "UNIONE DEI COMUNI";
        QTest::newRow("same name, other province") << "" << QStringList{"M261"} << "73030"
                                                   << "M261"
                                                   << "LE"
                                                   << "COMUNE DI CASTRO";
    }
    void closeUp()
    {
        QFETCH(QString, denomination);
        QFETCH(QStringList, codes);
        Fixture f;
        f.open();
        f.edit("edenom")->setText(denomination);
        for (const QString& c : codes)
            f.choose(c);
        QTEST(f.edit("ecap")->text(), "cap");
        QTEST(f.edit("eBelf")->text(), "belfiore");
        QTEST(f.edit("eprov")->text(), "prov");
        QTEST(f.edit("edenom")->text(), "denominationAfter");
    }

    // Typing part of a name lists the municipalities that contain it, the closest first;
    // picking one fills the rest.
    void findByPartOfName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("firstOffered");
        QTest::addColumn<int>("offered");
        QTest::addColumn<int>("downs"); // arrow presses in the list before Enter
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("belfiore");
        QTest::newRow("inside the name") << "teodoro" << QStringList{"SAN TEODORO ME", "SAN TEODORO SS"} << 2 << 2
                                         << "SAN TEODORO"
                                         << "I329";
        QTest::newRow("whole name first")
            << "roma" << QStringList{"ROMA RM", "ROMAGNANO AL MONTE SA", "ROMAGNANO SESIA NO"} << 42 << 1 << "ROMA"
            << "H501";
        QTest::newRow("word start before inside")
            << "lombardia" << QStringList{"ROMANO DI LOMBARDIA BG"} << 1 << 1 << "ROMANO DI LOMBARDIA"
            << "H509";
    }
    void findByPartOfName()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, firstOffered);
        QFETCH(int, downs);
        Fixture f;
        f.open();
        f.edit("edenom")->clear();
        QComboBox* c = f.citta();
        c->lineEdit()->setFocus();
        QTest::keyClicks(c->lineEdit(), typed);
        QCompleter* completer = c->completer();
        QCOMPARE(c->currentText(), typed.toUpper());
        QTRY_VERIFY(completer->popup()->isVisible());
        const QAbstractItemModel* m = completer->completionModel();
        QStringList offered;
        for (int i = 0; i < m->rowCount(); ++i)
            offered << m->index(i, 0).data().toString() + QLatin1Char(' ') + m->index(i, 1).data().toString();
        QTEST(int(offered.size()), "offered");
        QCOMPARE(offered.mid(0, firstOffered.size()), firstOffered);
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(completer->popup(), Qt::Key_Down);
        QTest::keyClick(completer->popup(), Qt::Key_Return);
        QTEST(c->currentText(), "chosen");
        QTEST(f.edit("eBelf")->text(), "belfiore");
        QCOMPARE(f.edit("edenom")->text(), QStringLiteral("COMUNE DI ") + c->currentText());
    }

    void typing_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("upper case") << "eindirizzo"
                                    << "via roma 1/b"
                                    << "VIA ROMA 1/B";
        QTest::newRow("e-mail") << "eemail"
                                << "ufficio@comune.it"
                                << "UFFICIO@COMUNE.IT";
        QTest::newRow("cap limit") << "ecap"
                                   << "001189"
                                   << "00118";
        QTest::newRow("code limit") << "eBelf"
                                    << "h501x"
                                    << "H501";
        QTest::newRow("province limit") << "eprov"
                                        << "rma"
                                        << "RM";
        QTest::newRow("fiscal code limit") << "ecodfisc"
                                           << "024387505861"
                                           << "02438750586";
        QTest::newRow("telephone limit") << "etel"
                                         << "12345678901234567"
                                         << "1234567890123456";
    }
    void typing()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        Fixture f;
        f.open();
        QLineEdit* e = f.edit(field);
        e->clear();
        QTest::keyClicks(e, typed);
        QTEST(e->text(), "shown");
    }

    // A character the Ente's files cannot hold is not taken.
    void unencodableCharacterRefused()
    {
        Fixture f;
        f.open();
        QLineEdit* e = f.edit("eresp");
        e->clear();
        QTest::keyClicks(e, QStringLiteral("AB"));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u0100"));
        QApplication::sendEvent(e, &press);
        QKeyEvent accented(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("à"));
        QApplication::sendEvent(e, &accented);
        QCOMPARE(e->text(), QStringLiteral("ABà"));
    }

    void enterMovesToNextField()
    {
        Fixture f;
        f.open();
        f.edit("edenom")->setFocus();
        QTRY_VERIFY(f.edit("edenom")->hasFocus());
        QTest::keyClick(f.edit("edenom"), Qt::Key_Return);
        QVERIFY(f.edit("eindirizzo")->hasFocus());
        QVERIFY(f.dlg->isVisible());
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
