// Qt SQL's PostgreSQL driver against a private server: a transaction written and read back (with
// Cyrillic text), another connection's NOTIFY received within a second, a read-only role refused
// with a recognisable error, a wrong password refused, and a server that stops under an open
// connection: the query fails recognisably, and a connection opened again after the server is
// back works.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <signal.h>

#include <memory>

#include "pg_test_server.h"

using test_support::PgTestServer;
using test_support::PgTestServerError;

Q_DECLARE_METATYPE(PgTestServer::StopMode)

namespace {

const QString kDatabase = QStringLiteral("library");
const QString kWriter = QStringLiteral("writer");
const QString kReader = QStringLiteral("reader");
const QString kPassword = QStringLiteral("секрет-1");

// Whether a failed statement's error says the connection is lost rather than the statement
// refused: the server's own errors carry an SQLSTATE, and those of a connection that ends are of
// class 08 (connection exception) or 57P01-57P03 (the server shutting down); an error with no
// SQLSTATE comes from the client library itself, whose statements fail only for the connection.
bool connection_lost(const QSqlError& error) {
  const QString state = error.nativeErrorCode();
  return error.type() != QSqlError::NoError &&
         (state.isEmpty() || state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P0")));
}

}  // namespace

class ServerSql : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanup();
  void cleanupTestCase();
  void transactionWrittenAndReadBack();
  void notifyFromAnotherConnectionArrivesWithinASecond();
  void readOnlyRoleIsRefusedWriting();
  void wrongPasswordIsRefused();
  void aKilledTestProcessLeavesNoServerBehind();
  void serverStoppingUnderAConnectionAndComingBack_data();
  void serverStoppingUnderAConnectionAndComingBack();

 private:
  // A new connection named `name` to the library database as `user`; open when it returns true.
  bool connect(const QString& name, const QString& user, const QString& password = kPassword);
  QSqlDatabase db(const QString& name) { return QSqlDatabase::database(name, false); }

  std::unique_ptr<PgTestServer> server_;
};

bool ServerSql::connect(const QString& name, const QString& user, const QString& password) {
  QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
  d.setHostName(QString::fromStdString(server_->socket_dir()));
  d.setPort(server_->port());
  d.setDatabaseName(kDatabase);
  d.setUserName(user);
  d.setPassword(password);
  return d.open();
}

void ServerSql::initTestCase() {
  QVERIFY2(QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")),
           "Qt SQL has no PostgreSQL driver: install the Debian package libqt6sql6-psql (scripts/setup.sh does)");
  try {
    PgTestServer::Options options;
    options.passwords = true;
    server_ = std::make_unique<PgTestServer>(options);
    server_->create_role(kWriter.toStdString(), kPassword.toStdString());
    server_->create_role(kReader.toStdString(), kPassword.toStdString());
    server_->create_database(kDatabase.toStdString(), kWriter.toStdString());
    server_->grant_read_only(kReader.toStdString(), kDatabase.toStdString());
  } catch (const PgTestServerError& e) {
    QFAIL(e.what());
  }
}

void ServerSql::cleanup() {
  for (const QString& name : QSqlDatabase::connectionNames()) {
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
  }
}

void ServerSql::cleanupTestCase() {
  cleanup();
  server_.reset();
}

void ServerSql::transactionWrittenAndReadBack() {
  QVERIFY2(connect("desk", kWriter), qPrintable(db("desk").lastError().text()));
  QSqlDatabase d = db("desk");
  QSqlQuery q(d);
  QVERIFY2(q.exec("CREATE TABLE books (code integer GENERATED ALWAYS AS IDENTITY PRIMARY KEY, title text NOT NULL)"),
           qPrintable(q.lastError().text()));

  // Committed: there, with the code the database gave.
  QVERIFY(d.transaction());
  QVERIFY(q.prepare("INSERT INTO books (title) VALUES (?) RETURNING code"));
  q.addBindValue(QStringLiteral("Пряслины"));
  QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
  QVERIFY(q.next());
  const int code = q.value(0).toInt();
  QVERIFY(code > 0);
  QVERIFY(d.commit());

  // Rolled back: not there.
  QVERIFY(d.transaction());
  QVERIFY(q.prepare("INSERT INTO books (title) VALUES (?)"));
  q.addBindValue(QStringLiteral("Сотников"));
  QVERIFY(q.exec());
  QVERIFY(d.rollback());

  QVERIFY(q.exec("SELECT code, title FROM books ORDER BY code"));
  QVERIFY(q.next());
  QCOMPARE(q.value(0).toInt(), code);
  QCOMPARE(q.value(1).toString(), QStringLiteral("Пряслины"));
  QVERIFY(!q.next());
}

void ServerSql::notifyFromAnotherConnectionArrivesWithinASecond() {
  QVERIFY(connect("listener", kWriter));
  QVERIFY(connect("notifier", kReader));  // reading desks may tell too
  QSqlDriver* driver = db("listener").driver();
  QVERIFY(driver->hasFeature(QSqlDriver::EventNotifications));
  QVERIFY(driver->subscribeToNotification(QStringLiteral("catalogue_changed")));
  QSignalSpy spy(driver, qOverload<const QString&, QSqlDriver::NotificationSource, const QVariant&>(
                             &QSqlDriver::notification));

  QElapsedTimer timer;
  timer.start();
  QSqlQuery n(db("notifier"));
  QVERIFY2(n.exec("SELECT pg_notify('catalogue_changed', 'книга 27')"), qPrintable(n.lastError().text()));
  QVERIFY(spy.wait(1000));
  QVERIFY(timer.elapsed() < 1000);
  QCOMPARE(spy.count(), 1);
  QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("catalogue_changed"));
  QCOMPARE(spy.at(0).at(1).value<QSqlDriver::NotificationSource>(), QSqlDriver::OtherSource);
  QCOMPARE(spy.at(0).at(2).toString(), QStringLiteral("книга 27"));

  // A channel nobody listens to reaches nobody.
  QVERIFY(n.exec("NOTIFY other_channel"));
  QVERIFY(!spy.wait(200));
  QCOMPARE(spy.count(), 1);
}

void ServerSql::readOnlyRoleIsRefusedWriting() {
  QVERIFY(connect("reading desk", kReader));
  QSqlQuery q(db("reading desk"));
  QVERIFY2(q.exec("SELECT count(*) FROM books"), qPrintable(q.lastError().text()));
  QVERIFY(q.next());
  QCOMPARE(q.value(0).toInt(), 1);

  // Whether the role may write, asked before trying.
  QVERIFY(q.exec("SELECT has_table_privilege('books', 'INSERT')"));
  QVERIFY(q.next());
  QCOMPARE(q.value(0).toBool(), false);

  QVERIFY(!q.exec("INSERT INTO books (title) VALUES ('Обелиск')"));
  QCOMPARE(q.lastError().type(), QSqlError::StatementError);
  QCOMPARE(q.lastError().nativeErrorCode(), QStringLiteral("42501"));  // insufficient_privilege
  QVERIFY(!connection_lost(q.lastError()));
  QVERIFY(db("reading desk").isOpen());  // the connection itself goes on
  QVERIFY(q.exec("SELECT 1"));
}

void ServerSql::wrongPasswordIsRefused() {
  QVERIFY(!connect("intruder", kWriter, QStringLiteral("wrong")));
  const QSqlError error = db("intruder").lastError();
  QCOMPARE(error.type(), QSqlError::ConnectionError);
  QVERIFY2(error.databaseText().contains(QStringLiteral("password authentication failed")),
           qPrintable(error.databaseText()));
}

void ServerSql::aKilledTestProcessLeavesNoServerBehind() {
  QProcess probe;
  probe.start(QStringLiteral(FOLIARKH_PG_TEST_SERVER_PROBE), {});
  QVERIFY(probe.waitForStarted());
  QVERIFY2(probe.waitForReadyRead(60000), probe.readAllStandardError().constData());
  const QStringList said = QString::fromUtf8(probe.readLine()).trimmed().split(' ');
  QCOMPARE(said.size(), 2);
  const QString folder = said[0];
  const pid_t server = said[1].toInt();
  QVERIFY(QDir(folder).exists());
  QVERIFY(server > 0 && ::kill(server, 0) == 0);

  probe.kill();  // SIGKILL: no destructor runs
  QVERIFY(probe.waitForFinished());
  QTRY_VERIFY_WITH_TIMEOUT(!QDir(folder).exists(), 10000);
  QTRY_VERIFY_WITH_TIMEOUT(::kill(server, 0) != 0, 5000);
}

void ServerSql::serverStoppingUnderAConnectionAndComingBack_data() {
  QTest::addColumn<PgTestServer::StopMode>("mode");
  QTest::newRow("shut down") << PgTestServer::StopMode::fast;
  QTest::newRow("ended as by a crash") << PgTestServer::StopMode::immediate;
}

void ServerSql::serverStoppingUnderAConnectionAndComingBack() {
  QFETCH(PgTestServer::StopMode, mode);
  QVERIFY(connect("desk", kWriter));
  QSqlDatabase d = db("desk");
  QSqlQuery q(d);
  // A change under way when the server goes.
  QVERIFY(d.transaction());
  QVERIFY(q.exec("INSERT INTO books (title) VALUES ('Обелиск')"));
  // A desk that listens for other desks' changes.
  QVERIFY(connect("listening desk", kWriter));
  QVERIFY(db("listening desk").driver()->subscribeToNotification(QStringLiteral("catalogue_changed")));

  try {
    server_->stop(mode);
  } catch (const PgTestServerError& e) {
    QFAIL(e.what());
  }
  // The listening connection notices by itself, with no statement run: told at once.
  QTRY_VERIFY_WITH_TIMEOUT(!db("listening desk").isOpen(), 1000);

  // The next statement fails and is told from a refused one by its error; the connection is
  // closed by then or by the next statement.
  QVERIFY(!q.exec("SELECT count(*) FROM books"));
  QVERIFY2(connection_lost(q.lastError()), qPrintable(q.lastError().text()));
  if (d.isOpen()) QVERIFY(!QSqlQuery(d).exec("SELECT 1"));
  QVERIFY(!d.isOpen());

  // A new connection while it is down: refused as a connection error.
  QVERIFY(!connect("late desk", kWriter));
  QCOMPARE(db("late desk").lastError().type(), QSqlError::ConnectionError);

  try {
    server_->start();
  } catch (const PgTestServerError& e) {
    QFAIL(e.what());
  }
  QVERIFY2(d.open(), qPrintable(d.lastError().text()));
  QSqlQuery again(d);
  QVERIFY(again.exec("SELECT title FROM books"));
  QVERIFY(again.next());
  QCOMPARE(again.value(0).toString(), QStringLiteral("Пряслины"));
  QVERIFY2(!again.next(), "the change under way when the server went is not there");
}

QTEST_GUILESS_MAIN(ServerSql)
#include "server_sql.moc"
