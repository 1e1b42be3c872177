// The ranges a user types to look for devices: what each form covers, and
// texts that are no range refused whole.

#include "agent/address_range.h"

#include <QTest>

class TestAddressRange : public QObject {
    Q_OBJECT

private slots:
    void parses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("first");  // empty: refused
        QTest::addColumn<QString>("last");
        QTest::addColumn<int>("count");
        QTest::newRow("address") << "10.0.0.7" << "10.0.0.7" << "10.0.0.7" << 1;
        QTest::newRow("blanks around") << "  10.0.0.7 " << "10.0.0.7" << "10.0.0.7" << 1;
        QTest::newRow("/24 without network and broadcast") << "192.168.1.77/24" << "192.168.1.1" << "192.168.1.254" << 254;
        QTest::newRow("/31 both") << "10.0.0.4/31" << "10.0.0.4" << "10.0.0.5" << 2;
        QTest::newRow("/32") << "10.0.0.4/32" << "10.0.0.4" << "10.0.0.4" << 1;
        QTest::newRow("/20 the most") << "10.0.0.0/20" << "10.0.0.1" << "10.0.15.254" << 4094;
        QTest::newRow("span over an octet") << "10.0.0.250-10.0.1.5" << "10.0.0.250" << "10.0.1.5" << 12;
        QTest::newRow("span to the last address") << "255.255.255.254-255.255.255.255" << "255.255.255.254"
                                                  << "255.255.255.255" << 2;
        QTest::newRow("too large") << "10.0.0.0/16" << "" << "" << 0;
        QTest::newRow("backwards") << "10.0.0.9-10.0.0.1" << "" << "" << 0;
        QTest::newRow("octet over 255") << "10.0.0.256" << "" << "" << 0;
        QTest::newRow("three octets") << "10.0.7" << "" << "" << 0;
        QTest::newRow("prefix over 32") << "10.0.0.0/33" << "" << "" << 0;
        QTest::newRow("no prefix") << "10.0.0.0/" << "" << "" << 0;
        QTest::newRow("two spans") << "10.0.0.1-10.0.0.2-10.0.0.3" << "" << "" << 0;
        QTest::newRow("a name") << "ap.example" << "" << "" << 0;
        QTest::newRow("empty") << "" << "" << "" << 0;
    }

    void parses()
    {
        QFETCH(QString, text);
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(int, count);
        const agent::AddressRange range = agent::parseAddressRange(text);
        QCOMPARE(int(range.addresses.size()), count);
        QCOMPARE(range.error.isEmpty(), !first.isEmpty());
        if (count > 0) {
            QCOMPARE(range.addresses.constFirst().toString(), first);
            QCOMPARE(range.addresses.constLast().toString(), last);
        }
    }
};

QTEST_GUILESS_MAIN(TestAddressRange)
#include "test_address_range.moc"
