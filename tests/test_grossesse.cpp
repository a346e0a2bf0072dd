// The term date while the reference date is typed, and the probable-sex picture refused while a
// term is shown; the picture itself and the chart around the term are in test_calcul.

#include "mainwindow/ondagramm.h"
#include "support/fakeplatform.h"

#include <QLineEdit>
#include <QTest>

using namespace dz;

class TestGrossesse : public QObject {
    Q_OBJECT
    FakePlateforme fake_; // today is 17/05/2004

private slots:
    void terme_data()
    {
        QTest::addColumn<QString>("dgus");
        QTest::addColumn<QStringList>("termes"); // in TxtAP after each of the last keys
        // 15/03 alone is that day this year; 15/03/20 is in 2020
        QTest::newRow("même jour")
            << "15/03/2024"
            << QStringList{"",           "",           "",           "",           "15/12/2004",
                           "15/12/2004", "15/12/2004", "15/12/2020", "15/12/2020", "15/12/2024"};
        QTest::newRow("29 février") << "31/05/2023" << QStringList{"29/02/2024"};
        QTest::newRow("28 février") << "31/05/2022" << QStringList{"28/02/2023"};
    }
    void terme()
    {
        QFETCH(QString, dgus);
        QFETCH(QStringList, termes);
        Ondagramm w(fake_);
        w.show();
        auto* reference = w.findChild<QLineEdit*>("TxtDGUS");
        auto* terme = w.findChild<QLineEdit*>("TxtAP");
        QStringList vus;
        for (QChar ch : dgus) {
            QTest::keyClicks(reference, ch);
            vus << terme->text();
        }
        QCOMPARE(vus.mid(vus.size() - termes.size()), termes);
        reference->clear(); // the term stays, and the picture is not shown
        QCOMPARE(terme->text(), termes.last());
        QTest::mouseClick(w.findChild<QWidget*>("CmdSexe"), Qt::LeftButton);
        QVERIFY(w.findChild<QWidget*>("PictSexe")->isHidden());
    }
};

QTEST_MAIN(TestGrossesse)
#include "test_grossesse.moc"
