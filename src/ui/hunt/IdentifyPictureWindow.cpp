#include "ui/hunt/IdentifyPictureWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "core/base/Strings.h"
#include "core/data/Session.h"
#include "core/hunt/MatchTexts.h"
#include "core/output/TreasureInfo.h"
#include "ui/dialogs/Caption.h"
#include "ui/map/ShowTreasureFromBox.h"

namespace brix {
namespace {

enum Column { NumberColumn, NameColumn, RegionColumn, MatchColumn };

// The candidates' close-ups in the list, a quarter of the full size: with two rows in view the
// window still fits a 1280 x 1024 screen at twice the usual scale.
constexpr int ThumbnailDivisor = 4;
// The picture is shown no taller than a close-up and at most this much wider.
constexpr int PictureMaxWidth = InfoCloseUpWidth * 3 / 2;

QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}

QString ToQ(const std::string& text) {
    return QString::fromStdString(text);
}

// The first local file of a drop or a copied file, else an empty name.
QString LocalFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return QString();
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return QString();
}

}  // namespace

IdentifyPictureWindow::IdentifyPictureWindow(const Session& session, MapViewHost& host,
                                             QWidget* parent)
    : QDialog(parent),
      session_(session),
      host_(host),
      matcher_(session.GetWorld(), session.GetWorld().Drawing.MultimapBitmap),
      prompt_([](QWidget* owner) {
          return QFileDialog::getOpenFileName(owner, Text(StringId::IdentifyCaption), QString(),
                                              Text(StringId::IdentifyFileFilter));
      }) {
    setObjectName(QStringLiteral("IdentifyPictureWindow"));
    setWindowTitle(Text(StringId::IdentifyCaption));
    setModal(false);
    setAcceptDrops(true);

    status_ = new QLabel(Text(StringId::IdentifyHint), this);
    status_->setObjectName(QStringLiteral("IdentifyStatus"));
    status_->setWordWrap(true);
    status_->setTextFormat(::Qt::PlainText);
    open_ = new QPushButton(Text(StringId::IdentifyOpen), this);
    open_->setObjectName(QStringLiteral("OpenPicture"));
    open_->setAutoDefault(false);
    paste_ = new QPushButton(Text(StringId::IdentifyPaste), this);
    paste_->setObjectName(QStringLiteral("PastePicture"));
    paste_->setAutoDefault(false);

    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("Picture"));
    picture_->setAccessibleName(Text(StringId::IdentifyPictureLabel));
    picture_->setAlignment(::Qt::AlignCenter);
    picture_->setMinimumSize(InfoCloseUpWidth, InfoCloseUpHeight);
    picture_->setFrameShape(QFrame::StyledPanel);
    auto* pictureLabel = new QLabel(Text(StringId::IdentifyPictureLabel), this);

    closeUp_ = new QLabel(this);
    closeUp_->setObjectName(QStringLiteral("CandidateCloseUp"));
    closeUp_->setAccessibleName(Text(StringId::IdentifyCloseUpLabel));
    closeUp_->setFixedSize(InfoCloseUpWidth, InfoCloseUpHeight);
    auto* closeUpLabel = new QLabel(Text(StringId::IdentifyCloseUpLabel), this);

    candidates_ = new QTreeWidget(this);
    candidates_->setObjectName(QStringLiteral("Candidates"));
    candidates_->setRootIsDecorated(false);
    candidates_->setAllColumnsShowFocus(true);
    candidates_->setSelectionMode(QAbstractItemView::SingleSelection);
    candidates_->setIconSize(
        QSize(InfoCloseUpWidth / ThumbnailDivisor, InfoCloseUpHeight / ThumbnailDivisor));
    candidates_->setHeaderLabels(
        {Text(StringId::FindNumberHeading), Text(StringId::FindNameHeading),
         Text(StringId::FindRegionHeading), Text(StringId::IdentifyMatchHeading)});
    candidates_->header()->setStretchLastSection(false);
    candidates_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    candidates_->header()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    const QFontMetrics metrics(font());
    candidates_->setMinimumSize(metrics.averageCharWidth() * 70,
                                candidates_->iconSize().height() * 2 + metrics.lineSpacing() * 2);
    auto* candidatesLabel = new QLabel(Text(StringId::IdentifyCandidatesLabel), this);
    SetCaption(*candidatesLabel, *candidates_);

    auto* top = new QHBoxLayout;
    top->addWidget(status_, 1);
    top->addWidget(open_);
    top->addWidget(paste_);
    auto* pictures = new QGridLayout;
    pictures->addWidget(pictureLabel, 0, 0);
    pictures->addWidget(closeUpLabel, 0, 1);
    pictures->addWidget(picture_, 1, 0);
    pictures->addWidget(closeUp_, 1, 1);
    pictures->setColumnStretch(0, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(pictures);
    layout->addWidget(candidatesLabel);
    layout->addWidget(candidates_, 1);
    setTabOrder(open_, paste_);
    setTabOrder(paste_, candidates_);

    connect(open_, &QPushButton::clicked, this, &IdentifyPictureWindow::ChooseFile);
    connect(paste_, &QPushButton::clicked, this, &IdentifyPictureWindow::PasteFromClipboard);
    // Ctrl+V anywhere in the window; Shift+Insert as well, as the main window's Copy takes
    // Ctrl+Insert.
    auto* pasteKeys = new QAction(this);
    pasteKeys->setShortcuts(
        {QKeySequence(::Qt::CTRL | ::Qt::Key_V), QKeySequence(::Qt::SHIFT | ::Qt::Key_Insert)});
    addAction(pasteKeys);
    connect(pasteKeys, &QAction::triggered, this, &IdentifyPictureWindow::PasteFromClipboard);
    connect(candidates_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { ShowCandidate(item); });
    connect(candidates_, &QTreeWidget::currentItemChanged, this,
            &IdentifyPictureWindow::ShowCloseUp);
    candidates_->installEventFilter(this);
    // The window goes when its owner's window closes.
    if (parent != nullptr) parent->window()->installEventFilter(this);
    ShowCloseUp();
}

IdentifyPictureWindow::~IdentifyPictureWindow() = default;

void IdentifyPictureWindow::Present() {
    show();
    raise();
    activateWindow();
    if (candidates_->topLevelItemCount() > 0)
        candidates_->setFocus();
    else
        paste_->setFocus();
}

void IdentifyPictureWindow::ChooseFile() {
    const QString path = prompt_ ? prompt_(this) : QString();
    if (!path.isEmpty()) OpenPictureFile(path);
}

void IdentifyPictureWindow::OpenPictureFile(const QString& path) {
    TakePicture(ReadMapPictureFile(path), path.toStdString());
}

void IdentifyPictureWindow::PasteFromClipboard() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data != nullptr && data->hasImage()) {
        TakePicture(TakeMapPicture(qvariant_cast<QImage>(data->imageData())),
                    LoadString(StringId::IdentifyPastedName));
        return;
    }
    // A picture file copied in a file manager arrives as its name.
    const QString file = LocalFile(data);
    if (!file.isEmpty()) {
        OpenPictureFile(file);
        return;
    }
    ShowStatus(LoadString(StringId::IdentifyNoClipboardPicture));
}

void IdentifyPictureWindow::TakePicture(const MapPicture& picture, const std::string& name) {
    candidates_->clear();
    picture_->clear();
    if (picture.Status != PictureStatus::Ready) {
        ShowStatus(PictureProblemText(picture, name));
        ShowCloseUp();
        return;
    }
    const QSize shown = picture.Image.size().boundedTo(QSize(PictureMaxWidth, InfoCloseUpHeight));
    picture_->setPixmap(QPixmap::fromImage(
        picture.Image.scaled(picture.Image.size().scaled(shown, ::Qt::KeepAspectRatio),
                             ::Qt::KeepAspectRatio, ::Qt::SmoothTransformation)));

    // The first picture also prepares the multimap; both take a moment.
    QApplication::setOverrideCursor(::Qt::WaitCursor);
    const std::vector<MapMatch> found = matcher_.Identify(picture.Image);
    QApplication::restoreOverrideCursor();

    if (!MapPictureMatcher::Matches(found)) {
        ShowStatus(LoadString(StringId::IdentifyNoMatch));
        ShowCloseUp();
        return;
    }
    ShowStatus(std::string());
    const QColor paper = palette().color(backgroundRole());
    QList<QTreeWidgetItem*> items;
    for (const MapMatch& match : found) {
        const MatchTexts texts = DescribeMatch(session_.GetWorld(), match);
        auto* item = new QTreeWidgetItem(
            {ToQ(texts.Number), ToQ(texts.Name), ToQ(texts.Region), ToQ(texts.Score)});
        item->setData(NumberColumn, ::Qt::UserRole, match.Treasure);
        QImage closeUp(InfoCloseUpWidth, InfoCloseUpHeight, QImage::Format_RGB32);
        closeUp.fill(paper);
        {
            QPainter painter(&closeUp);
            DrawTreasureCloseUp(painter, session_, match.Treasure);
        }
        item->setIcon(
            NumberColumn,
            QIcon(QPixmap::fromImage(closeUp.scaled(candidates_->iconSize(), ::Qt::KeepAspectRatio,
                                                    ::Qt::SmoothTransformation))));
        item->setTextAlignment(NumberColumn, ::Qt::AlignRight | ::Qt::AlignVCenter);
        item->setTextAlignment(MatchColumn, ::Qt::AlignRight | ::Qt::AlignVCenter);
        items.append(item);
    }
    candidates_->addTopLevelItems(items);
    // The best candidate is current, so Enter takes it.
    candidates_->setCurrentItem(items.front());
    candidates_->setFocus();
}

std::vector<int> IdentifyPictureWindow::ListedTreasures() const {
    std::vector<int> listed;
    for (int i = 0; i < candidates_->topLevelItemCount(); ++i)
        listed.push_back(candidates_->topLevelItem(i)->data(NumberColumn, ::Qt::UserRole).toInt());
    return listed;
}

void IdentifyPictureWindow::ShowCandidate(const QTreeWidgetItem* item) {
    if (item == nullptr) return;
    ShowTreasureFromBox(*this, host_, session_.GetWorld(),
                        item->data(NumberColumn, ::Qt::UserRole).toInt());
}

void IdentifyPictureWindow::ShowCloseUp() {
    const QTreeWidgetItem* item = candidates_->currentItem();
    const int treasure = item != nullptr ? item->data(NumberColumn, ::Qt::UserRole).toInt() : 0;
    QImage closeUp(InfoCloseUpWidth, InfoCloseUpHeight, QImage::Format_RGB32);
    closeUp.fill(palette().color(backgroundRole()));
    {
        QPainter painter(&closeUp);
        DrawTreasureCloseUp(painter, session_, treasure);
    }
    closeUp_->setPixmap(QPixmap::fromImage(closeUp));
}

void IdentifyPictureWindow::ShowStatus(const std::string& text) {
    status_->setText(ToQ(text));
}

bool IdentifyPictureWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && parentWidget() != nullptr &&
        watched == parentWidget()->window())
        hide();
    if (watched == candidates_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == ::Qt::Key_Return || key == ::Qt::Key_Enter) {
            ShowCandidate(candidates_->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void IdentifyPictureWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data->hasImage() || !LocalFile(data).isEmpty()) event->acceptProposedAction();
}

void IdentifyPictureWindow::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    const QString file = LocalFile(data);
    if (!file.isEmpty())
        OpenPictureFile(file);
    else if (data->hasImage())
        TakePicture(TakeMapPicture(qvariant_cast<QImage>(data->imageData())),
                    LoadString(StringId::IdentifyPastedName));
    else
        return;
    event->acceptProposedAction();
}

}  // namespace brix
