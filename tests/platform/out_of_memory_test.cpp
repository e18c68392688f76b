#include <QProcess>
#include <QTest>

class OutOfMemoryTest : public QObject {
    Q_OBJECT

private slots:
    // std::bad_alloc in a procedure never reaches Qt's event loop: the
    // program says "out of memory" and ends with status 1.
    void procedureOutOfMemoryEndsWithAMessageAndStatusOne() {
        QProcess process;
        process.start(QStringLiteral(TS_OUT_OF_MEMORY_HELPER), {});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        const QByteArray output = process.readAllStandardOutput();
        QVERIFY2(output.contains("box: out of memory | TALLY-SHARE | warning"), output.constData());
        QVERIFY(!output.contains("still running"));
    }
};

int runOutOfMemoryTests(int argc, char** argv) {
    OutOfMemoryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "out_of_memory_test.moc"
