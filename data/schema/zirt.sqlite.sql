-- The shop's database ZIRT for the embedded engine (SQLite 3.40); zirt.mssql.sql is the same database
-- for SQL Server and must stay parallel to this script. Run by zirt-provision into an empty file with
-- the RUSSIAN_CI collation registered (the program registers it on every connection).
--
-- Decisions: STRICT tables, so text that does not spell a number is refused by numeric columns;
-- AUTOINCREMENT keys, so a key (Idsale above all) only grows and is never reused; foreign keys without
-- cascades, so a row still referred to cannot be deleted; dates filled by defaults; saleprice filled
-- from orderprice when an insert gives none. Text columns compare in Russian order without regard to
-- case (RUSSIAN_CI); dates are ISO text ('YYYY-MM-DD HH:MM:SS') and compare as they are written.

CREATE TABLE provider (
    Idprovider INTEGER PRIMARY KEY AUTOINCREMENT,
    name       TEXT NOT NULL COLLATE RUSSIAN_CI,
    agentname  TEXT COLLATE RUSSIAN_CI,
    phone      TEXT COLLATE RUSSIAN_CI
) STRICT;

CREATE TABLE manager (
    Idmanager INTEGER PRIMARY KEY AUTOINCREMENT,
    name      TEXT NOT NULL COLLATE RUSSIAN_CI,
    phone     TEXT COLLATE RUSSIAN_CI
) STRICT;

CREATE TABLE discount (
    Iddiscount INTEGER PRIMARY KEY AUTOINCREMENT,
    [percent]  REAL NOT NULL CHECK ([percent] BETWEEN 0 AND 100)
) STRICT;

-- Prices are finite: a number too large for a double (a text literal '1e400') is infinity to SQLite,
-- which the upper bound, the largest finite double, refuses; NaN never arrives (SQLite stores it as
-- null). [percent] is bounded already.
CREATE TABLE wares (
    Idwares     INTEGER PRIMARY KEY AUTOINCREMENT,
    name        TEXT NOT NULL COLLATE RUSSIAN_CI,
    description TEXT COLLATE RUSSIAN_CI,
    orderprice  REAL NOT NULL CHECK (orderprice >= 0 AND orderprice <= 1.7976931348623157e308),
    saleprice   REAL CHECK (saleprice >= 0 AND saleprice <= 1.7976931348623157e308),
    Iddiscount  INTEGER REFERENCES discount (Iddiscount)
) STRICT;
CREATE INDEX wares_Iddiscount ON wares (Iddiscount);

-- A ware inserted without a sale price gets the shop's standard markup of 25 % on its purchase price.
CREATE TRIGGER wares_saleprice AFTER INSERT ON wares
WHEN NEW.saleprice IS NULL
BEGIN
    UPDATE wares SET saleprice = round(NEW.orderprice * 1.25, 2) WHERE Idwares = NEW.Idwares;
END;

-- The delivery period (in days) of one ware from one supplier.
CREATE TABLE period (
    Idperiod   INTEGER PRIMARY KEY AUTOINCREMENT,
    Idprovider INTEGER NOT NULL REFERENCES provider (Idprovider),
    Idwares    INTEGER NOT NULL REFERENCES wares (Idwares),
    day        INTEGER NOT NULL CHECK (day > 0),
    UNIQUE (Idprovider, Idwares)
) STRICT;
CREATE INDEX period_Idwares ON period (Idwares);

CREATE TABLE [order] (
    Idorder    INTEGER PRIMARY KEY AUTOINCREMENT,
    Idprovider INTEGER NOT NULL REFERENCES provider (Idprovider),
    orderdate  TEXT NOT NULL DEFAULT (datetime('now', 'localtime')) CHECK (datetime(orderdate) IS orderdate)
) STRICT;
CREATE INDEX order_Idprovider ON [order] (Idprovider);

CREATE TABLE orderitem (
    Idorderitem INTEGER PRIMARY KEY AUTOINCREMENT,
    idorder     INTEGER NOT NULL REFERENCES [order] (Idorder),
    idwares     INTEGER NOT NULL REFERENCES wares (Idwares),
    warescount  INTEGER NOT NULL CHECK (warescount > 0)
) STRICT;
CREATE INDEX orderitem_idorder ON orderitem (idorder);
CREATE INDEX orderitem_idwares ON orderitem (idwares);

CREATE TABLE sale (
    Idsale    INTEGER PRIMARY KEY AUTOINCREMENT,
    idmanager INTEGER NOT NULL REFERENCES manager (Idmanager),
    saledate  TEXT NOT NULL DEFAULT (datetime('now', 'localtime')) CHECK (datetime(saledate) IS saledate)
) STRICT;
CREATE INDEX sale_idmanager ON sale (idmanager);

CREATE TABLE saleitem (
    Idsaleitem INTEGER PRIMARY KEY AUTOINCREMENT,
    idsale     INTEGER NOT NULL REFERENCES sale (Idsale),
    idwares    INTEGER NOT NULL REFERENCES wares (Idwares),
    quantity   INTEGER NOT NULL CHECK (quantity > 0)
) STRICT;
CREATE INDEX saleitem_idsale ON saleitem (idsale);
CREATE INDEX saleitem_idwares ON saleitem (idwares);

-- The order history: one row per order line.
CREATE VIEW orders_info AS
SELECT o.Idorder      AS [Номер заказа],
       o.orderdate    AS [Дата заказа],
       p.name         AS [Поставщик],
       w.name         AS [Товар],
       i.warescount   AS [Кол-во],
       w.orderprice   AS [Цена]
FROM [order] o
     INNER JOIN orderitem i ON i.idorder = o.Idorder
     INNER JOIN provider p ON p.Idprovider = o.Idprovider
     INNER JOIN wares w ON w.Idwares = i.idwares;

-- The sales history: one row per sale line.
CREATE VIEW View_1 AS
SELECT m.name        AS [Менеджер],
       w.name        AS [Наименование],
       w.description AS [Описание],
       i.quantity    AS [Количество],
       s.saledate    AS [Дата]
FROM sale s
     INNER JOIN manager m ON m.Idmanager = s.idmanager
     INNER JOIN saleitem i ON i.idsale = s.Idsale
     INNER JOIN wares w ON w.Idwares = i.idwares;

-- Wares with their delivery time; Expr2 is the supplier's name.
CREATE VIEW new_order AS
SELECT w.name        AS name,
       p.name        AS Expr2,
       w.description AS description,
       pe.day        AS day,
       w.Idwares     AS Idwares
FROM period pe
     INNER JOIN wares w ON w.Idwares = pe.Idwares
     INNER JOIN provider p ON p.Idprovider = pe.Idprovider;

-- The wares each supplier delivers; Idwares lets an order line record the ware chosen here.
CREATE VIEW View_2 AS
SELECT w.name        AS name,
       w.description AS description,
       pe.Idprovider AS Idprovider,
       w.Idwares     AS Idwares
FROM period pe
     INNER JOIN wares w ON w.Idwares = pe.Idwares;

CREATE VIEW firms_periods AS
SELECT p.name        AS [Фирма],
       w.name        AS [Наименование товара],
       w.description AS [Описание товара],
       pe.day        AS [Срок ожидания]
FROM period pe
     INNER JOIN provider p ON p.Idprovider = pe.Idprovider
     INNER JOIN wares w ON w.Idwares = pe.Idwares;
