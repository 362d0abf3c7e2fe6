#include "UnitProvoz.h"

#include "app_error.h"
#include "prompts.h"
#include "translated_texts.h"
#include "ui_UnitProvoz.h"

#include <QAccessibleWidget>
#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLayout>
#include <QPointer>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSortFilterProxyModel>

#include <algorithm>
#include <optional>
#include <set>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
constexpr int kCellMargin = 16;
constexpr int kBesideGap = 8;
// The reply to a reading of the measured values, the row polling adds most.
constexpr int kUsualTelegramBytes = 27;

void writeAll(const QString& fileName, const QByteArray& bytes)
{
    QSaveFile file(fileName);
    // A full disk can leave commit() true over an empty file: check each step.
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                         file.flush() && file.commit() && QFileInfo(fileName).size() == bytes.size();
    if (!written)
        throw AppError(Tprovoz::tr("Soubor %1 nelze uložit").arg(QDir::toNativeSeparators(fileName)));
}

// A plain widget would read as a "filler": assistive technology announces
// the monitor as the window it is.
QAccessibleInterface* windowFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("Tprovoz") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

// The largest window of `wanted` size, no less than `least`, in `room`, as
// near `anchor` as it allows.
std::optional<QRect> fitted(const QRect& room, const QPoint& anchor, const QSize& wanted, const QSize& least)
{
    const QSize size = wanted.boundedTo(room.size());
    if (size.width() < least.width() || size.height() < least.height())
        return std::nullopt;
    return QRect(QPoint(std::clamp(anchor.x(), room.left(), room.right() + 1 - size.width()),
                        std::clamp(anchor.y(), room.top(), room.bottom() + 1 - size.height())),
                 size);
}

std::optional<QRect> beside(const QRect& screen, const QRect& kept, const QSize& wanted, const QSize& least)
{
    const QRect rooms[]{
        QRect(QPoint(kept.right() + 1 + kBesideGap, screen.top()), screen.bottomRight()),
        QRect(QPoint(screen.left(), kept.bottom() + 1 + kBesideGap), screen.bottomRight()),
        QRect(screen.topLeft(), QPoint(kept.left() - 1 - kBesideGap, screen.bottom())),
        QRect(screen.topLeft(), QPoint(screen.right(), kept.top() - 1 - kBesideGap)),
    };
    std::optional<QRect> best;
    const auto area = [](const QRect& r) { return qint64(r.width()) * r.height(); };
    for (const QRect& room : rooms) {
        const auto place = fitted(room, kept.topLeft(), wanted, least);
        if (place && (!best || area(*place) > area(*best)))
            best = place;
    }
    return best;
}

} // namespace

Tprovoz::Tprovoz()
    : QWidget(nullptr, Qt::Window), m_ui(std::make_unique<Ui::Tprovoz>()), m_recorder(m_model),
      m_filtered(new QSortFilterProxyModel(this))
{
    static const bool installed = [] {
        QAccessible::installFactory(windowFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setAttribute(Qt::WA_QuitOnClose, false);
    m_ui->setupUi(this);
    setUpTable();
    connect(m_ui->tl_pauza, &QPushButton::toggled, this, &Tprovoz::tl_pauzaToggled);
    connect(m_ui->tl_smazat, &QPushButton::clicked, this, &Tprovoz::tl_smazatClick);
    connect(m_ui->tl_kopirovat, &QPushButton::clicked, this, &Tprovoz::tl_kopirovatClick);
    connect(m_ui->tl_ulozit, &QPushButton::clicked, this, &Tprovoz::tl_ulozitClick);
    connect(m_ui->ed_filtr, &QLineEdit::textChanged, this, &Tprovoz::ed_filtrChange);
    auto* copy = new QShortcut(QKeySequence::Copy, m_ui->str_provoz, nullptr, nullptr, Qt::WidgetShortcut);
    connect(copy, &QShortcut::activated, this, &Tprovoz::tl_kopirovatClick);
}

Tprovoz::~Tprovoz() = default;

void Tprovoz::setUpTable()
{
    m_filtered->setSourceModel(&m_model);
    m_filtered->setFilterKeyColumn(-1);
    m_filtered->setFilterCaseSensitivity(Qt::CaseInsensitive);
    QTableView* view = m_ui->str_provoz;
    view->setModel(m_filtered);
    view->verticalHeader()->hide();
    // Rows of one height: the view then never measures 100,000 rows.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    QHeaderView* columns = view->horizontalHeader();
    columns->setStretchLastSection(true);
    const auto widthOf = [this](const char* text) {
        return fontMetrics().horizontalAdvance(QString::fromUtf8(text));
    };
    view->setColumnWidth(TrafficModel::TimeColumn, widthOf("00000000") + kCellMargin);
    view->setColumnWidth(TrafficModel::DirectionColumn, widthOf("Směr") + kCellMargin);
    // Room for the usual meanings and the failure icon.
    view->setColumnWidth(TrafficModel::MeaningColumn,
                         widthOf("data tabulky 16 (18 bajtů), DA 127, SA 126") + 2 * kCellMargin);
    connect(m_filtered, &QAbstractItemModel::rowsAboutToBeInserted, this, &Tprovoz::rememberFollowing);
    connect(m_filtered, &QAbstractItemModel::rowsInserted, this, &Tprovoz::followNewest);
    // The count of all rows changes also when the filter hides every new one.
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, &Tprovoz::showRowCount);
    connect(&m_model, &QAbstractItemModel::rowsRemoved, this, &Tprovoz::showRowCount);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &Tprovoz::showRowCount);
    const QMargins margins = layout()->contentsMargins();
    resize(std::max(width(), margins.left() + tableWidth() + 2 * view->frameWidth() + margins.right()), height());
}

// Every column wide enough for the usual rows, the bytes of a reading's reply
// included.
int Tprovoz::tableWidth() const
{
    const QTableView* view = m_ui->str_provoz;
    const QString usualBytes = QString(QStringLiteral("00 ")).repeated(kUsualTelegramBytes).trimmed();
    int width = QFontMetrics(QFontDatabase::systemFont(QFontDatabase::FixedFont)).horizontalAdvance(usualBytes) +
                kCellMargin;
    for (int column = 0; column < TrafficModel::BytesColumn; ++column)
        width += view->columnWidth(column);
    return width + view->verticalScrollBar()->sizeHint().width();
}

void Tprovoz::placeBeside(const QWidget& main, const QRect& controls)
{
    // This window's frame is not known before it is shown: it gets the main window's.
    const QSize frameSize = main.frameGeometry().size() - main.geometry().size();
    const QRect place = placement(main.screen()->availableGeometry(), main.frameGeometry(), controls,
                                  size() + frameSize, kLeastUsableSize.expandedTo(minimumSizeHint()) + frameSize);
    resize(place.size() - frameSize);
    move(place.topLeft());
}

QRect Tprovoz::placement(const QRect& screen, const QRect& main, const QRect& controls, const QSize& wanted,
                         const QSize& least)
{
    if (const auto place = beside(screen, main, wanted, least))
        return *place;
    if (const auto place = beside(screen, controls, wanted, least))
        return *place;
    return QRect(screen.topLeft(), wanted.boundedTo(screen.size()));
}

void Tprovoz::attach(SerialLine& line)
{
    line.setTrafficTap([window = QPointer<Tprovoz>(this)](SerialLine::Direction direction,
                                                          SerialLine::Clock::time_point at,
                                                          const QByteArray& bytes) {
        if (window)
            window->m_recorder.record(direction, at, bytes);
    });
}

void Tprovoz::rememberFollowing()
{
    const QScrollBar* bar = m_ui->str_provoz->verticalScrollBar();
    m_following = bar->value() == bar->maximum();
}

void Tprovoz::followNewest()
{
    if (m_following)
        m_ui->str_provoz->scrollToBottom();
    showRowCount();
}

void Tprovoz::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    retranslateKeepingEdits(*this, [this] { m_ui->retranslateUi(this); });
    emit m_model.headerDataChanged(Qt::Horizontal, 0, TrafficModel::ColumnCount - 1);
    showRowCount();
}

void Tprovoz::showRowCount()
{
    const int all = m_model.rowCount();
    const int shown = m_filtered->rowCount();
    m_ui->lb_pocet->setText(shown == all ? tr("Řádků: %1").arg(all)
                                         : tr("Řádků: %1 z %2").arg(shown).arg(all));
}

void Tprovoz::tl_pauzaToggled(bool paused)
{
    m_recorder.setPaused(paused);
}

void Tprovoz::tl_smazatClick()
{
    m_recorder.clear();
}

void Tprovoz::ed_filtrChange(const QString& text)
{
    m_filtered->setFilterFixedString(text);
    showRowCount();
}

QStringList Tprovoz::selectedLines() const
{
    std::set<int> rows;
    for (const QModelIndex& index : m_ui->str_provoz->selectionModel()->selectedRows())
        rows.insert(m_filtered->mapToSource(index).row());
    QStringList lines;
    for (const int row : rows)
        lines.append(m_model.line(row));
    return lines;
}

void Tprovoz::tl_kopirovatClick()
{
    const QStringList lines = selectedLines();
    if (!lines.isEmpty())
        QGuiApplication::clipboard()->setText(lines.join(kLineEnd) + kLineEnd);
}

void Tprovoz::tl_ulozitClick()
{
    const Prompts::SaveFileRequest request{tr("Uložit provoz na sběrnici"), QString(),
                                           tr("Textový soubor [*.txt] (*.txt)"), QStringLiteral("TXT")};
    const auto fileName = prompts().saveFileName(request, this);
    if (!fileName)
        return;
    QString text;
    for (int row = 0; row < m_model.rowCount(); ++row)
        text += m_model.line(row) + kLineEnd;
    writeAll(*fileName, text.toUtf8());
}
