#include "TestSupport.h"
#include <QtTest>
class TestBackup : public QObject { Q_OBJECT };
VETRINORA_TEST_MAIN(TestBackup)
#include "test_backup.moc"
