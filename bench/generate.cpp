// zirt-bench-generate: a large ZIRT database for the benchmarks. Scale N gives N wares, 2N delivery
// periods, N/100 suppliers, 20 discount levels, N/2 orders and N/2 sales with 3 lines each. The text is
// Russian with mixed case and ё, so sorting exercises the collation. Deterministic for a given N.
//   zirt-bench-generate --schema data/schema/zirt.sqlite.sql --scale 100000 --database .../ZIRT.sqlite
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <random>
#include <sqlite3.h>

#include "Exception.h"
#include "TDbProvisioner.h"
#include "TRussianCollation.h"

namespace {

const char* const kKinds[] = {"Телевизор",
                              "Холодильник",
                              "Стиральная машина",
                              "Пылесос",
                              "Чайник",
                              "Кофеварка",
                              "Микроволновая печь",
                              "Утюг",
                              "Фен",
                              "Мультиварка",
                              "Блендер",
                              "Кондиционер",
                              "Обогреватель",
                              "Вентилятор",
                              "Наушники",
                              "Саундбар",
                              "электрочайник",
                              "ёмкость для воды",
                              "Ёлочная гирлянда",
                              "морозильник",
                              "Плита",
                              "Водонагреватель",
                              "Хлебопечь",
                              "Миксер"};
const char* const kBrands[] = {"Вектра",    "Полюс",    "Арктика",  "Волна",  "Вихрь", "Бодрость",
                               "Жар-птица", "Уралочка", "Хозяюшка", "Гладь",  "Бриз",  "Аккорд",
                               "Исток",     "Каравай",  "Orion",    "Arcton", "ёлочка"};
const char* const kTraits[] = {
    "белый",      "чёрный",     "серебристый", "компактный", "инверторный", "энергосберегающий",
    "с таймером", "с дисплеем", "Wi-Fi",       "2000 Вт",    "5 л",         "класс A++",
    "ёмкий"};
const char* const kFirms[] = {"ООО «Электромир", "ЗАО «ТехноСнаб",     "ООО «Норд-Дистрибуция",
                              "АО «Волга-Трейд", "ООО «Климат-Сервис", "ИП Григорьев"};
const char* const kPeople[] = {"Соколов", "Кузнецова", "Лебедев", "Ёлкин",   "Васильева",
                               "Морозов", "Попова",    "Новиков", "Фёдоров", "Смирнова"};

class TGenerator {
public:
    explicit TGenerator(sqlite3* db) : m_db(db) {}

    void Exec(const char* sql) {
        char* error = nullptr;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            const QString text = QString::fromUtf8(error ? error : sqlite3_errmsg(m_db));
            sqlite3_free(error);
            throw EDatabaseError(text);
        }
    }

    // Runs one prepared insert `count` times, bind(i, statement) filling its values.
    template <typename Bind>
    void Insert(const char* sql, qint64 count, Bind bind) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &s, nullptr) != SQLITE_OK)
            throw EDatabaseError(QString::fromUtf8(sqlite3_errmsg(m_db)));
        for (qint64 i = 0; i < count; ++i) {
            bind(i, s);
            if (sqlite3_step(s) != SQLITE_DONE) {
                const QString text = QString::fromUtf8(sqlite3_errmsg(m_db));
                sqlite3_finalize(s);
                throw EDatabaseError(text);
            }
            sqlite3_reset(s);
        }
        sqlite3_finalize(s);
    }

    static void Text(sqlite3_stmt* s, int i, const QByteArray& t) {
        sqlite3_bind_text(s, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
    }

    template <typename T, size_t N>
    const char* Pick(const T (&list)[N]) {
        return list[m_random() % N];
    }
    qint64 Uniform(qint64 from, qint64 to) { return from + qint64(m_random() % quint64(to - from + 1)); }

private:
    sqlite3* m_db;
    std::mt19937_64 m_random{20261209};
};

int Usage() {
    std::fprintf(stderr, "usage: zirt-bench-generate --schema FILE --scale N --database FILE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString schema, database;
    qint64 n = 100000;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--schema"))
            schema = args[i + 1];
        else if (args[i] == QLatin1String("--scale"))
            n = args[i + 1].toLongLong();
        else if (args[i] == QLatin1String("--database"))
            database = args[i + 1];
        else
            return Usage();
    }
    if (schema.isEmpty() || database.isEmpty() || n < 100 || args.size() % 2 == 0)
        return Usage();
    const QString part = database + QStringLiteral(".generating");
    try {
        if (QFileInfo::exists(database))
            throw EInvalidOperation(
                QStringLiteral("%1 exists; remove it to generate it again").arg(database));
        QFile::remove(part);
        TDbProvisioner::Create(part, {schema});
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(QFile::encodeName(part).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
            SQLITE_OK)
            throw EDatabaseError(QString::fromUtf8(sqlite3_errmsg(db)));
        RegisterRussianCollation(db);
        TGenerator g(db);
        g.Exec("PRAGMA foreign_keys = ON; PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY; BEGIN");
        const qint64 suppliers = qMax<qint64>(2, n / 100), managers = 10, levels = 20;
        g.Insert("INSERT INTO provider (name, agentname, phone) VALUES (?, ?, ?)", suppliers,
                 [&](qint64 i, sqlite3_stmt* s) {
                     TGenerator::Text(s, 1,
                                      QByteArray(g.Pick(kFirms)) + "-" + QByteArray::number(i + 1) + "»");
                     TGenerator::Text(s, 2, QByteArray(g.Pick(kPeople)) + " А. В.");
                     TGenerator::Text(s, 3,
                                      QByteArray("8-495-") + QByteArray::number(g.Uniform(100, 999)) + "-" +
                                          QByteArray::number(g.Uniform(10, 99)) + "-" +
                                          QByteArray::number(g.Uniform(10, 99)));
                 });
        g.Insert("INSERT INTO manager (name, phone) VALUES (?, ?)", managers, [&](qint64 i, sqlite3_stmt* s) {
            TGenerator::Text(s, 1,
                             QByteArray(kPeople[i % std::size(kPeople)]) + " " + QByteArray::number(i + 1));
            TGenerator::Text(s, 2, "8-900-000-00-" + QByteArray::number(10 + i));
        });
        g.Insert("INSERT INTO discount ([percent]) VALUES (?)", levels,
                 [&](qint64 i, sqlite3_stmt* s) { sqlite3_bind_double(s, 1, double(i)); });
        g.Insert(
            "INSERT INTO wares (name, description, orderprice, saleprice, Iddiscount) VALUES (?, ?, ?, ?, ?)",
            n, [&](qint64 i, sqlite3_stmt* s) {
                TGenerator::Text(s, 1,
                                 QByteArray(g.Pick(kKinds)) + " " + g.Pick(kBrands) + " " +
                                     QByteArray::number(g.Uniform(10, 99999)));
                TGenerator::Text(s, 2, QByteArray(g.Pick(kTraits)) + ", " + g.Pick(kTraits));
                const double price = double(g.Uniform(500, 150000));
                sqlite3_bind_double(s, 3, price);
                sqlite3_bind_double(s, 4, price * 1.25);
                sqlite3_bind_int64(s, 5, g.Uniform(1, levels));
            });
        // Two suppliers per ware, different ones.
        g.Insert("INSERT INTO period (Idprovider, Idwares, day) VALUES (?, ?, ?)", 2 * n,
                 [&](qint64 i, sqlite3_stmt* s) {
                     const qint64 ware = i / 2 + 1;
                     const qint64 first = (ware * 7) % suppliers;
                     sqlite3_bind_int64(
                         s, 1, (i % 2 ? (first + 1 + ware % (suppliers - 1)) % suppliers : first) + 1);
                     sqlite3_bind_int64(s, 2, ware);
                     sqlite3_bind_int64(s, 3, g.Uniform(1, 30));
                 });
        g.Insert("INSERT INTO [order] (Idprovider, orderdate) VALUES (?, ?)", n / 2,
                 [&](qint64 i, sqlite3_stmt* s) {
                     sqlite3_bind_int64(s, 1, g.Uniform(1, suppliers));
                     TGenerator::Text(
                         s, 2,
                         QByteArray("2026-") + QByteArray::number(g.Uniform(1, 12)).rightJustified(2, '0') +
                             "-" + QByteArray::number(g.Uniform(1, 28)).rightJustified(2, '0') + " 12:00:00");
                 });
        g.Insert("INSERT INTO orderitem (idorder, idwares, warescount) VALUES (?, ?, ?)", 3 * (n / 2),
                 [&](qint64 i, sqlite3_stmt* s) {
                     sqlite3_bind_int64(s, 1, i / 3 + 1);
                     sqlite3_bind_int64(s, 2, g.Uniform(1, n));
                     sqlite3_bind_int64(s, 3, g.Uniform(1, 50));
                 });
        g.Insert("INSERT INTO sale (idmanager, saledate) VALUES (?, ?)", n / 2,
                 [&](qint64 i, sqlite3_stmt* s) {
                     sqlite3_bind_int64(s, 1, g.Uniform(1, managers));
                     TGenerator::Text(
                         s, 2,
                         QByteArray("2026-") + QByteArray::number(g.Uniform(1, 12)).rightJustified(2, '0') +
                             "-" + QByteArray::number(g.Uniform(1, 28)).rightJustified(2, '0') + " 15:30:00");
                 });
        g.Insert("INSERT INTO saleitem (idsale, idwares, quantity) VALUES (?, ?, ?)", 3 * (n / 2),
                 [&](qint64 i, sqlite3_stmt* s) {
                     sqlite3_bind_int64(s, 1, i / 3 + 1);
                     sqlite3_bind_int64(s, 2, g.Uniform(1, n));
                     sqlite3_bind_int64(s, 3, g.Uniform(1, 5));
                 });
        g.Exec("COMMIT; ANALYZE");
        sqlite3_close(db);
        if (!QFile::rename(part, database))
            throw EInvalidOperation(QStringLiteral("cannot move the new database to %1").arg(database));
    } catch (const Exception& e) {
        QFile::remove(part);
        std::fprintf(stderr, "zirt-bench-generate: %s\n", e.what());
        return 1;
    }
    std::printf("zirt-bench-generate: %s (scale %lld)\n", qPrintable(database), n);
    return 0;
}
