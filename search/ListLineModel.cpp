#include "search/ListLineModel.h"

#include <QBrush>
#include <QFontMetrics>

namespace brivanto {
namespace {
constexpr int ItemWidth = 1600;

// A line keeps every character of its record, control characters included; on screen they are
// drawn as blanks, so that a tab or a line break cannot break the columns or the row.
QString drawnText(QString text)
{
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            c = u' ';
    }
    return text;
}
} // namespace

ListLineModel::ListLineModel(QObject* parent)
    : QAbstractListModel(parent), font_(QStringLiteral("Courier New"), 12),
      itemSize_(ItemWidth, QFontMetrics(font_).height() + 2)
{
    font_.setStyleHint(QFont::TypeWriter);
}

void ListLineModel::setLines(ListLines lines)
{
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

int ListLineModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant ListLineModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return drawnText(lines_.at(index.row()));
    case Qt::FontRole:
        return font_;
    case Qt::ForegroundRole:
        return QBrush(Qt::black);
    case Qt::SizeHintRole:
        return itemSize_;
    default:
        return {};
    }
}

} // namespace brivanto
