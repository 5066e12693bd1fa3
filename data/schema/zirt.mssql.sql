-- The shop's database ZIRT for SQL Server (T-SQL, sqlcmd script: batches end with GO). The same
-- database as zirt.sqlite.sql, kept parallel to it table for table, rule for rule; run it, then
-- demo-data.sql in the new database:
--   sqlcmd -S <computer>\SQLEXPRESS -E -f 65001 -i zirt.mssql.sql
--   sqlcmd -S <computer>\SQLEXPRESS -E -f 65001 -d ZIRT -i demo-data.sql
--
-- Decisions as in the SQLite script: IDENTITY keys (a key only grows; Idsale above all); foreign keys
-- without cascades, so a row still referred to cannot be deleted; dates filled by defaults; saleprice
-- filled from orderprice when an insert gives none. The database collation Cyrillic_General_CI_AS keeps
-- Cyrillic text in plain (not N'') literals and compares names in Russian order without regard to case;
-- the program sends its statement templates' values as N'' literals, so text outside that code page
-- ("Müller", emoji) arrives unchanged in the nvarchar columns.

CREATE DATABASE ZIRT COLLATE Cyrillic_General_CI_AS;
GO
USE ZIRT;
GO

CREATE TABLE dbo.provider (
    Idprovider int IDENTITY(1, 1) NOT NULL CONSTRAINT PK_provider PRIMARY KEY,
    name       nvarchar(max) NOT NULL,
    agentname  nvarchar(max) NULL,
    phone      nvarchar(max) NULL
);

CREATE TABLE dbo.manager (
    Idmanager int IDENTITY(1, 1) NOT NULL CONSTRAINT PK_manager PRIMARY KEY,
    name      nvarchar(max) NOT NULL,
    phone     nvarchar(max) NULL
);

CREATE TABLE dbo.discount (
    Iddiscount int IDENTITY(1, 1) NOT NULL CONSTRAINT PK_discount PRIMARY KEY,
    [percent]  decimal(5, 2) NOT NULL CONSTRAINT CK_discount_percent CHECK ([percent] BETWEEN 0 AND 100)
);

-- decimal holds no infinity or NaN (the server refuses them on conversion), so the prices need no
-- finiteness check beside the SQLite script's.
CREATE TABLE dbo.wares (
    Idwares     int IDENTITY(1, 1) NOT NULL CONSTRAINT PK_wares PRIMARY KEY,
    name        nvarchar(max) NOT NULL,
    description nvarchar(max) NULL,
    orderprice  decimal(12, 2) NOT NULL CONSTRAINT CK_wares_orderprice CHECK (orderprice >= 0),
    saleprice   decimal(12, 2) NULL CONSTRAINT CK_wares_saleprice CHECK (saleprice >= 0),
    Iddiscount  int NULL CONSTRAINT FK_wares_discount REFERENCES dbo.discount (Iddiscount)
);
CREATE INDEX wares_Iddiscount ON dbo.wares (Iddiscount);
GO

-- A ware inserted without a sale price gets the shop's standard markup of 25 % on its purchase price.
-- NOCOUNT keeps the insert's "rows affected" at the insert's own count.
CREATE TRIGGER dbo.wares_saleprice ON dbo.wares AFTER INSERT AS
BEGIN
    SET NOCOUNT ON;
    UPDATE w SET saleprice = ROUND(i.orderprice * 1.25, 2)
    FROM dbo.wares w INNER JOIN inserted i ON i.Idwares = w.Idwares
    WHERE i.saleprice IS NULL;
END;
GO

-- The delivery period (in days) of one ware from one supplier.
CREATE TABLE dbo.period (
    Idperiod   int IDENTITY(1, 1) NOT NULL CONSTRAINT PK_period PRIMARY KEY,
    Idprovider int NOT NULL CONSTRAINT FK_period_provider REFERENCES dbo.provider (Idprovider),
    Idwares    int NOT NULL CONSTRAINT FK_period_wares REFERENCES dbo.wares (Idwares),
    day        int NOT NULL CONSTRAINT CK_period_day CHECK (day > 0),
    CONSTRAINT UQ_period_provider_wares UNIQUE (Idprovider, Idwares)
);
CREATE INDEX period_Idwares ON dbo.period (Idwares);

CREATE TABLE dbo.[order] (
    Idorder    int IDENTITY(1, 1) NOT NULL CONSTRAINT PK_order PRIMARY KEY,
    Idprovider int NOT NULL CONSTRAINT FK_order_provider REFERENCES dbo.provider (Idprovider),
    orderdate  datetime2(0) NOT NULL CONSTRAINT DF_order_orderdate DEFAULT (CONVERT(datetime2(0), SYSDATETIME()))
);
CREATE INDEX order_Idprovider ON dbo.[order] (Idprovider);

CREATE TABLE dbo.orderitem (
    Idorderitem int IDENTITY(1, 1) NOT NULL CONSTRAINT PK_orderitem PRIMARY KEY,
    idorder     int NOT NULL CONSTRAINT FK_orderitem_order REFERENCES dbo.[order] (Idorder),
    idwares     int NOT NULL CONSTRAINT FK_orderitem_wares REFERENCES dbo.wares (Idwares),
    warescount  int NOT NULL CONSTRAINT CK_orderitem_warescount CHECK (warescount > 0)
);
CREATE INDEX orderitem_idorder ON dbo.orderitem (idorder);
CREATE INDEX orderitem_idwares ON dbo.orderitem (idwares);

CREATE TABLE dbo.sale (
    Idsale    int IDENTITY(1, 1) NOT NULL CONSTRAINT PK_sale PRIMARY KEY,
    idmanager int NOT NULL CONSTRAINT FK_sale_manager REFERENCES dbo.manager (Idmanager),
    saledate  datetime2(0) NOT NULL CONSTRAINT DF_sale_saledate DEFAULT (CONVERT(datetime2(0), SYSDATETIME()))
);
CREATE INDEX sale_idmanager ON dbo.sale (idmanager);

CREATE TABLE dbo.saleitem (
    Idsaleitem int IDENTITY(1, 1) NOT NULL CONSTRAINT PK_saleitem PRIMARY KEY,
    idsale     int NOT NULL CONSTRAINT FK_saleitem_sale REFERENCES dbo.sale (Idsale),
    idwares    int NOT NULL CONSTRAINT FK_saleitem_wares REFERENCES dbo.wares (Idwares),
    quantity   int NOT NULL CONSTRAINT CK_saleitem_quantity CHECK (quantity > 0)
);
CREATE INDEX saleitem_idsale ON dbo.saleitem (idsale);
CREATE INDEX saleitem_idwares ON dbo.saleitem (idwares);
GO

-- The order history: one row per order line.
CREATE VIEW dbo.orders_info AS
SELECT o.Idorder      AS [Номер заказа],
       o.orderdate    AS [Дата заказа],
       p.name         AS [Поставщик],
       w.name         AS [Товар],
       i.warescount   AS [Кол-во],
       w.orderprice   AS [Цена]
FROM dbo.[order] o
     INNER JOIN dbo.orderitem i ON i.idorder = o.Idorder
     INNER JOIN dbo.provider p ON p.Idprovider = o.Idprovider
     INNER JOIN dbo.wares w ON w.Idwares = i.idwares;
GO

-- The sales history: one row per sale line.
CREATE VIEW dbo.View_1 AS
SELECT m.name        AS [Менеджер],
       w.name        AS [Наименование],
       w.description AS [Описание],
       i.quantity    AS [Количество],
       s.saledate    AS [Дата]
FROM dbo.sale s
     INNER JOIN dbo.manager m ON m.Idmanager = s.idmanager
     INNER JOIN dbo.saleitem i ON i.idsale = s.Idsale
     INNER JOIN dbo.wares w ON w.Idwares = i.idwares;
GO

-- Wares with their delivery time; Expr2 is the supplier's name.
CREATE VIEW dbo.new_order AS
SELECT w.name        AS name,
       p.name        AS Expr2,
       w.description AS description,
       pe.day        AS day,
       w.Idwares     AS Idwares
FROM dbo.period pe
     INNER JOIN dbo.wares w ON w.Idwares = pe.Idwares
     INNER JOIN dbo.provider p ON p.Idprovider = pe.Idprovider;
GO

-- The wares each supplier delivers; Idwares lets an order line record the ware chosen here.
CREATE VIEW dbo.View_2 AS
SELECT w.name        AS name,
       w.description AS description,
       pe.Idprovider AS Idprovider,
       w.Idwares     AS Idwares
FROM dbo.period pe
     INNER JOIN dbo.wares w ON w.Idwares = pe.Idwares;
GO

CREATE VIEW dbo.firms_periods AS
SELECT p.name        AS [Фирма],
       w.name        AS [Наименование товара],
       w.description AS [Описание товара],
       pe.day        AS [Срок ожидания]
FROM dbo.period pe
     INNER JOIN dbo.provider p ON p.Idprovider = pe.Idprovider
     INNER JOIN dbo.wares w ON w.Idwares = pe.Idwares;
GO
