// One entry of a grid's column list: the field it shows, an optional width in pixels (0: from the
// field) and whether it shows.
#pragma once

#include <QString>

struct TColumn {
    QString FieldName;
    int Width = 0;
    bool Visible = true;
};
