// SPDX-License-Identifier: Apache-2.0
#include "framework/qt/ListControl.h"

ListControl::ListControl(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
}

int ListControl::selectedRow() const
{
    const QList<QListWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : row(items.front());
}

void ListControl::mousePressEvent(QMouseEvent* event)
{
    const int before = selectedRow();
    QListWidget::mousePressEvent(event);
    reportIfChanged(before);
}

void ListControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int before = selectedRow();
    QListWidget::mouseDoubleClickEvent(event);
    reportIfChanged(before);
    if (onDoubleClick)
    {
        onDoubleClick();
    }
}

void ListControl::keyPressEvent(QKeyEvent* event)
{
    const int before = selectedRow();
    QListWidget::keyPressEvent(event);
    reportIfChanged(before);
}

void ListControl::reportIfChanged(int before)
{
    if (selectedRow() != before && onUserSelectionChange)
    {
        onUserSelectionChange();
    }
}
