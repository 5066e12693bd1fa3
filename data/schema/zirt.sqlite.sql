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

-- The views write as the server's do: a change of the plain base-table columns of one base table goes
-- to exactly the base row the view row came from, found by the view row's old values (by its key
-- where it carries one); old values that match no row or more than one write nothing. A change that
-- touches two base tables, and every delete or insert through a join view, is refused with the
-- server's own message. Each table's update writes only when one of its columns changed, so at most
-- one of them writes.

CREATE TRIGGER firms_periods_update INSTEAD OF UPDATE ON firms_periods
BEGIN
    SELECT RAISE(ABORT, 'View or function ''firms_periods'' is not updatable because the modification affects multiple base tables.')
    WHERE (OLD.[Фирма] IS NOT NEW.[Фирма])
        + (OLD.[Наименование товара] IS NOT NEW.[Наименование товара] OR OLD.[Описание товара] IS NOT NEW.[Описание товара])
        + (OLD.[Срок ожидания] IS NOT NEW.[Срок ожидания]) > 1;
    UPDATE provider SET name = NEW.[Фирма]
    WHERE OLD.[Фирма] IS NOT NEW.[Фирма] AND Idprovider = (
        SELECT CASE count(*) WHEN 1 THEN max(p.Idprovider) END
        FROM period pe JOIN provider p ON p.Idprovider = pe.Idprovider JOIN wares w ON w.Idwares = pe.Idwares
        WHERE p.name IS OLD.[Фирма] AND w.name IS OLD.[Наименование товара]
          AND w.description IS OLD.[Описание товара] AND pe.day IS OLD.[Срок ожидания]);
    UPDATE wares SET name = NEW.[Наименование товара], description = NEW.[Описание товара]
    WHERE (OLD.[Наименование товара] IS NOT NEW.[Наименование товара] OR OLD.[Описание товара] IS NOT NEW.[Описание товара])
      AND Idwares = (
        SELECT CASE count(*) WHEN 1 THEN max(w.Idwares) END
        FROM period pe JOIN provider p ON p.Idprovider = pe.Idprovider JOIN wares w ON w.Idwares = pe.Idwares
        WHERE p.name IS OLD.[Фирма] AND w.name IS OLD.[Наименование товара]
          AND w.description IS OLD.[Описание товара] AND pe.day IS OLD.[Срок ожидания]);
    UPDATE period SET day = NEW.[Срок ожидания]
    WHERE OLD.[Срок ожидания] IS NOT NEW.[Срок ожидания] AND Idperiod = (
        SELECT CASE count(*) WHEN 1 THEN max(pe.Idperiod) END
        FROM period pe JOIN provider p ON p.Idprovider = pe.Idprovider JOIN wares w ON w.Idwares = pe.Idwares
        WHERE p.name IS OLD.[Фирма] AND w.name IS OLD.[Наименование товара]
          AND w.description IS OLD.[Описание товара] AND pe.day IS OLD.[Срок ожидания]);
END;

CREATE TRIGGER new_order_update INSTEAD OF UPDATE ON new_order
BEGIN
    SELECT RAISE(ABORT, 'View or function ''new_order'' is not updatable because the modification affects multiple base tables.')
    WHERE (OLD.name IS NOT NEW.name OR OLD.description IS NOT NEW.description OR OLD.Idwares IS NOT NEW.Idwares)
        + (OLD.Expr2 IS NOT NEW.Expr2) + (OLD.day IS NOT NEW.day) > 1;
    UPDATE wares SET name = NEW.name, description = NEW.description, Idwares = NEW.Idwares
    WHERE (OLD.name IS NOT NEW.name OR OLD.description IS NOT NEW.description OR OLD.Idwares IS NOT NEW.Idwares)
      AND Idwares = (
        SELECT CASE count(*) WHEN 1 THEN max(w.Idwares) END
        FROM period pe JOIN wares w ON w.Idwares = pe.Idwares JOIN provider p ON p.Idprovider = pe.Idprovider
        WHERE pe.Idwares = OLD.Idwares AND w.name IS OLD.name AND p.name IS OLD.Expr2
          AND w.description IS OLD.description AND pe.day IS OLD.day);
    UPDATE provider SET name = NEW.Expr2
    WHERE OLD.Expr2 IS NOT NEW.Expr2 AND Idprovider = (
        SELECT CASE count(*) WHEN 1 THEN max(p.Idprovider) END
        FROM period pe JOIN wares w ON w.Idwares = pe.Idwares JOIN provider p ON p.Idprovider = pe.Idprovider
        WHERE pe.Idwares = OLD.Idwares AND w.name IS OLD.name AND p.name IS OLD.Expr2
          AND w.description IS OLD.description AND pe.day IS OLD.day);
    UPDATE period SET day = NEW.day
    WHERE OLD.day IS NOT NEW.day AND Idperiod = (
        SELECT CASE count(*) WHEN 1 THEN max(pe.Idperiod) END
        FROM period pe JOIN wares w ON w.Idwares = pe.Idwares JOIN provider p ON p.Idprovider = pe.Idprovider
        WHERE pe.Idwares = OLD.Idwares AND w.name IS OLD.name AND p.name IS OLD.Expr2
          AND w.description IS OLD.description AND pe.day IS OLD.day);
END;

-- View_2 carries the period's two keys, which find its row (they are unique together).
CREATE TRIGGER View_2_update INSTEAD OF UPDATE ON View_2
BEGIN
    SELECT RAISE(ABORT, 'View or function ''View_2'' is not updatable because the modification affects multiple base tables.')
    WHERE (OLD.name IS NOT NEW.name OR OLD.description IS NOT NEW.description OR OLD.Idwares IS NOT NEW.Idwares)
        + (OLD.Idprovider IS NOT NEW.Idprovider) > 1;
    UPDATE wares SET name = NEW.name, description = NEW.description, Idwares = NEW.Idwares
    WHERE (OLD.name IS NOT NEW.name OR OLD.description IS NOT NEW.description OR OLD.Idwares IS NOT NEW.Idwares)
      AND Idwares = (
        SELECT CASE count(*) WHEN 1 THEN max(w.Idwares) END
        FROM period pe JOIN wares w ON w.Idwares = pe.Idwares
        WHERE pe.Idprovider = OLD.Idprovider AND pe.Idwares = OLD.Idwares
          AND w.name IS OLD.name AND w.description IS OLD.description);
    UPDATE period SET Idprovider = NEW.Idprovider
    WHERE OLD.Idprovider IS NOT NEW.Idprovider AND Idperiod = (
        SELECT CASE count(*) WHEN 1 THEN max(pe.Idperiod) END
        FROM period pe JOIN wares w ON w.Idwares = pe.Idwares
        WHERE pe.Idprovider = OLD.Idprovider AND pe.Idwares = OLD.Idwares
          AND w.name IS OLD.name AND w.description IS OLD.description);
END;

CREATE TRIGGER orders_info_update INSTEAD OF UPDATE ON orders_info
BEGIN
    SELECT RAISE(ABORT, 'View or function ''orders_info'' is not updatable because the modification affects multiple base tables.')
    WHERE (OLD.[Номер заказа] IS NOT NEW.[Номер заказа] OR OLD.[Дата заказа] IS NOT NEW.[Дата заказа])
        + (OLD.[Поставщик] IS NOT NEW.[Поставщик])
        + (OLD.[Товар] IS NOT NEW.[Товар] OR OLD.[Цена] IS NOT NEW.[Цена])
        + (OLD.[Кол-во] IS NOT NEW.[Кол-во]) > 1;
    UPDATE [order] SET Idorder = NEW.[Номер заказа], orderdate = NEW.[Дата заказа]
    WHERE (OLD.[Номер заказа] IS NOT NEW.[Номер заказа] OR OLD.[Дата заказа] IS NOT NEW.[Дата заказа])
      AND Idorder = (
        SELECT CASE count(*) WHEN 1 THEN max(o.Idorder) END
        FROM [order] o JOIN orderitem i ON i.idorder = o.Idorder JOIN provider p ON p.Idprovider = o.Idprovider
             JOIN wares w ON w.Idwares = i.idwares
        WHERE o.Idorder = OLD.[Номер заказа] AND o.orderdate IS OLD.[Дата заказа] AND p.name IS OLD.[Поставщик]
          AND w.name IS OLD.[Товар] AND i.warescount IS OLD.[Кол-во] AND w.orderprice IS OLD.[Цена]);
    UPDATE provider SET name = NEW.[Поставщик]
    WHERE OLD.[Поставщик] IS NOT NEW.[Поставщик] AND Idprovider = (
        SELECT CASE count(*) WHEN 1 THEN max(p.Idprovider) END
        FROM [order] o JOIN orderitem i ON i.idorder = o.Idorder JOIN provider p ON p.Idprovider = o.Idprovider
             JOIN wares w ON w.Idwares = i.idwares
        WHERE o.Idorder = OLD.[Номер заказа] AND o.orderdate IS OLD.[Дата заказа] AND p.name IS OLD.[Поставщик]
          AND w.name IS OLD.[Товар] AND i.warescount IS OLD.[Кол-во] AND w.orderprice IS OLD.[Цена]);
    UPDATE wares SET name = NEW.[Товар], orderprice = NEW.[Цена]
    WHERE (OLD.[Товар] IS NOT NEW.[Товар] OR OLD.[Цена] IS NOT NEW.[Цена]) AND Idwares = (
        SELECT CASE count(*) WHEN 1 THEN max(w.Idwares) END
        FROM [order] o JOIN orderitem i ON i.idorder = o.Idorder JOIN provider p ON p.Idprovider = o.Idprovider
             JOIN wares w ON w.Idwares = i.idwares
        WHERE o.Idorder = OLD.[Номер заказа] AND o.orderdate IS OLD.[Дата заказа] AND p.name IS OLD.[Поставщик]
          AND w.name IS OLD.[Товар] AND i.warescount IS OLD.[Кол-во] AND w.orderprice IS OLD.[Цена]);
    UPDATE orderitem SET warescount = NEW.[Кол-во]
    WHERE OLD.[Кол-во] IS NOT NEW.[Кол-во] AND Idorderitem = (
        SELECT CASE count(*) WHEN 1 THEN max(i.Idorderitem) END
        FROM [order] o JOIN orderitem i ON i.idorder = o.Idorder JOIN provider p ON p.Idprovider = o.Idprovider
             JOIN wares w ON w.Idwares = i.idwares
        WHERE o.Idorder = OLD.[Номер заказа] AND o.orderdate IS OLD.[Дата заказа] AND p.name IS OLD.[Поставщик]
          AND w.name IS OLD.[Товар] AND i.warescount IS OLD.[Кол-во] AND w.orderprice IS OLD.[Цена]);
END;

CREATE TRIGGER View_1_update INSTEAD OF UPDATE ON View_1
BEGIN
    SELECT RAISE(ABORT, 'View or function ''View_1'' is not updatable because the modification affects multiple base tables.')
    WHERE (OLD.[Менеджер] IS NOT NEW.[Менеджер])
        + (OLD.[Наименование] IS NOT NEW.[Наименование] OR OLD.[Описание] IS NOT NEW.[Описание])
        + (OLD.[Количество] IS NOT NEW.[Количество])
        + (OLD.[Дата] IS NOT NEW.[Дата]) > 1;
    UPDATE manager SET name = NEW.[Менеджер]
    WHERE OLD.[Менеджер] IS NOT NEW.[Менеджер] AND Idmanager = (
        SELECT CASE count(*) WHEN 1 THEN max(m.Idmanager) END
        FROM sale s JOIN manager m ON m.Idmanager = s.idmanager JOIN saleitem i ON i.idsale = s.Idsale
             JOIN wares w ON w.Idwares = i.idwares
        WHERE m.name IS OLD.[Менеджер] AND w.name IS OLD.[Наименование] AND w.description IS OLD.[Описание]
          AND i.quantity IS OLD.[Количество] AND s.saledate IS OLD.[Дата]);
    UPDATE wares SET name = NEW.[Наименование], description = NEW.[Описание]
    WHERE (OLD.[Наименование] IS NOT NEW.[Наименование] OR OLD.[Описание] IS NOT NEW.[Описание]) AND Idwares = (
        SELECT CASE count(*) WHEN 1 THEN max(w.Idwares) END
        FROM sale s JOIN manager m ON m.Idmanager = s.idmanager JOIN saleitem i ON i.idsale = s.Idsale
             JOIN wares w ON w.Idwares = i.idwares
        WHERE m.name IS OLD.[Менеджер] AND w.name IS OLD.[Наименование] AND w.description IS OLD.[Описание]
          AND i.quantity IS OLD.[Количество] AND s.saledate IS OLD.[Дата]);
    UPDATE saleitem SET quantity = NEW.[Количество]
    WHERE OLD.[Количество] IS NOT NEW.[Количество] AND Idsaleitem = (
        SELECT CASE count(*) WHEN 1 THEN max(i.Idsaleitem) END
        FROM sale s JOIN manager m ON m.Idmanager = s.idmanager JOIN saleitem i ON i.idsale = s.Idsale
             JOIN wares w ON w.Idwares = i.idwares
        WHERE m.name IS OLD.[Менеджер] AND w.name IS OLD.[Наименование] AND w.description IS OLD.[Описание]
          AND i.quantity IS OLD.[Количество] AND s.saledate IS OLD.[Дата]);
    UPDATE sale SET saledate = NEW.[Дата]
    WHERE OLD.[Дата] IS NOT NEW.[Дата] AND Idsale = (
        SELECT CASE count(*) WHEN 1 THEN max(s.Idsale) END
        FROM sale s JOIN manager m ON m.Idmanager = s.idmanager JOIN saleitem i ON i.idsale = s.Idsale
             JOIN wares w ON w.Idwares = i.idwares
        WHERE m.name IS OLD.[Менеджер] AND w.name IS OLD.[Наименование] AND w.description IS OLD.[Описание]
          AND i.quantity IS OLD.[Количество] AND s.saledate IS OLD.[Дата]);
END;

CREATE TRIGGER firms_periods_delete INSTEAD OF DELETE ON firms_periods
BEGIN
    SELECT RAISE(ABORT, 'View or function ''firms_periods'' is not updatable because the modification affects multiple base tables.');
END;

CREATE TRIGGER firms_periods_insert INSTEAD OF INSERT ON firms_periods
BEGIN
    SELECT RAISE(ABORT, 'View or function ''firms_periods'' is not updatable because the modification affects multiple base tables.');
END;

CREATE TRIGGER new_order_delete INSTEAD OF DELETE ON new_order
BEGIN
    SELECT RAISE(ABORT, 'View or function ''new_order'' is not updatable because the modification affects multiple base tables.');
END;

CREATE TRIGGER new_order_insert INSTEAD OF INSERT ON new_order
BEGIN
    SELECT RAISE(ABORT, 'View or function ''new_order'' is not updatable because the modification affects multiple base tables.');
END;

CREATE TRIGGER View_2_delete INSTEAD OF DELETE ON View_2
BEGIN
    SELECT RAISE(ABORT, 'View or function ''View_2'' is not updatable because the modification affects multiple base tables.');
END;

CREATE TRIGGER View_2_insert INSTEAD OF INSERT ON View_2
BEGIN
    SELECT RAISE(ABORT, 'View or function ''View_2'' is not updatable because the modification affects multiple base tables.');
END;

CREATE TRIGGER orders_info_delete INSTEAD OF DELETE ON orders_info
BEGIN
    SELECT RAISE(ABORT, 'View or function ''orders_info'' is not updatable because the modification affects multiple base tables.');
END;

CREATE TRIGGER orders_info_insert INSTEAD OF INSERT ON orders_info
BEGIN
    SELECT RAISE(ABORT, 'View or function ''orders_info'' is not updatable because the modification affects multiple base tables.');
END;

CREATE TRIGGER View_1_delete INSTEAD OF DELETE ON View_1
BEGIN
    SELECT RAISE(ABORT, 'View or function ''View_1'' is not updatable because the modification affects multiple base tables.');
END;

CREATE TRIGGER View_1_insert INSTEAD OF INSERT ON View_1
BEGIN
    SELECT RAISE(ABORT, 'View or function ''View_1'' is not updatable because the modification affects multiple base tables.');
END;
