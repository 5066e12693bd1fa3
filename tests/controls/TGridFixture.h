// A grid over the controls fixture's data source: made and bound at once, then Show() opens the data
// set, shows the window, waits until it is active and focuses the grid, which is where the key and
// editing tests start. Every grid is also driven under Qt's model tester.
#pragma once

#include <QAbstractItemModelTester>
#include <QTest>

#include "TADOQuery.h"
#include "TControlsFixture.h"
#include "TDBGrid.h"
#include "TDBGridModel.h"
#include "TDataSet.h"
#include "TTestChecks.h"

struct TGridFixture : TControlsFixture {
    TDBGrid* Grid;

    explicit TGridFixture(const QString& table = QStringLiteral("discount"),
                          TDBGridOptions options = TDBGridOptions::Default())
        : TControlsFixture(table), Grid(new TDBGrid(Window.get())) {
        new QAbstractItemModelTester(Grid->Model(), QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     Grid);
        Grid->setObjectName(QStringLiteral("DBGrid1"));
        Grid->setGeometry(10, 10, 400, 200);
        Grid->SetOptions(options);
        Grid->SetDataSource(Source);
    }

    // The grid shows a query instead of the table (a join, for instance); opened by Show().
    TADOQuery* ShowQuery(const QString& statement) {
        auto* query = new TADOQuery(Owner.get(), QStringLiteral("ADOQuery2"));
        query->SetConnection(Connection);
        query->SQL().Add(statement);
        Source->SetDataSet(query);
        return query;
    }

    TDataSet* DataSet() const { return Grid->DataSet(); }

    // Opens the data set, shows the window and focuses the grid; false when the window never became
    // active (focus would then not move between its controls).
    bool Show() {
        DataSet()->Open();
        if (!ShowWindow())
            return false;
        Grid->setFocus();
        return Grid->hasFocus();
    }

    QString Cell(int row, int column) const { return Grid->Model()->index(row, column).data().toString(); }

    static void Type(QWidget* widget, const QString& text) { TTestChecks::TypeText(widget, text); }
    // Where the typing goes: the cell editor once open, the grid before.
    QWidget* KeyTarget() const {
        return Grid->EditorMode() ? static_cast<QWidget*>(Grid->InplaceEditor()) : Grid;
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::keyClick(KeyTarget(), key, modifiers);
    }
};
