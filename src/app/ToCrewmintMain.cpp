#include "app/ToCrewmintMain.h"

#include "app/Splash.h"
#include "app/gradient.h"
#include "db/Session.h"
#include "env/DebugLog.h"
#include "platform/LocaleFormat.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>
#include <QVBoxLayout>

#include <cmath>

void TGradientToolBar::paintEvent(QPaintEvent *event)
{
    // ToolBarCustomDraw: white at the top fading into a darkened menu colour at the bottom.
    const QRect r = rect();
    m_linesDrawn = 0;
    if (r.bottom() - r.top() > 0) {
        QPainter painter(this);
        const QColor menu = QApplication::palette("QMenu").color(QPalette::Window);
        const QColor dark = ScaleColor(menu, 0.65);
        for (int y = r.top(); y <= r.bottom(); ++y) {
            painter.setPen(GradientColor(Qt::white, dark, y, r.top(), r.bottom()));
            painter.drawLine(r.left(), y, r.right(), y);
            ++m_linesDrawn;
        }
    }
    QToolBar::paintEvent(event);
}

std::array<int, 3> statusPanelWidths(int barWidth)
{
    return {static_cast<int>(std::trunc(barWidth * 0.6)), static_cast<int>(std::trunc(barWidth * 0.15)),
            static_cast<int>(std::trunc(barWidth * 0.1))};
}

TToCrewmintMainFrm::TToCrewmintMainFrm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("ToCrewmintMainFrm"));
    setWindowTitle(QStringLiteral("ToCrewmint"));
    resize(900, 600);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    buildMenus();
    buildToolBar();
    NotebookMain = new QStackedWidget(this);
    SplashPanel = new TSplashPanel;
    SplashPanel->setObjectName(QStringLiteral("Splash"));
    NotebookMain->addWidget(SplashPanel);
    NotebookMain->addWidget(buildExportPage());
    setCentralWidget(NotebookMain);
    FormCreate();
}

TToCrewmintMainFrm::~TToCrewmintMainFrm() { FormDestroy(); }

void TToCrewmintMainFrm::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFileOpen = file->addAction(QStringLiteral("&Open Project"));
    file->addSeparator();
    for (int i = 0; i < 5; ++i) {
        FileMRU[i] = file->addAction(QString::number(i + 1));
        FileMRU[i]->setObjectName(QStringLiteral("File%1").arg(i + 1));
        FileMRU[i]->setVisible(false);
    }
    file->addSeparator();
    mnuFileExit = file->addAction(QStringLiteral("E&xit"));
    connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEditPref = edit->addAction(QStringLiteral("&Preferences"));
    QMenu *help = menuBar()->addMenu(QStringLiteral("Help"));
    mnuAbout = help->addAction(QStringLiteral("About"));
}

void TToCrewmintMainFrm::buildToolBar()
{
    ToolBar = new TGradientToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ToolBar->setStyleSheet(QStringLiteral("QToolButton { min-width: 83px; min-height: 21px; }"));
    addToolBar(Qt::TopToolBarArea, ToolBar);
    tbExportCrew = ToolBar->addAction(QStringLiteral("Export Crewmint"));
    ToolBar->addSeparator();
    tbSelectAll = ToolBar->addAction(QStringLiteral("Select All"));
    tbClearAll = ToolBar->addAction(QStringLiteral("Clear All"));
    for (QAction *button : {tbExportCrew, tbSelectAll, tbClearAll})
        button->setEnabled(false);
}

QWidget *TToCrewmintMainFrm::buildExportPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("Export"));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PageControl1 = new QTabWidget;
    tabSheetPhases = buildPhasesTab();
    tabSheetCSV = buildFilesTab();
    PageControl1->addTab(tabSheetPhases, QStringLiteral("Phases"));
    PageControl1->addTab(tabSheetCSV, QStringLiteral("CSV/ XLS files"));
    layout->addWidget(PageControl1, 1);
    layout->addWidget(buildStatusBar());
    return page;
}

QWidget *TToCrewmintMainFrm::buildPhasesTab()
{
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    pnlHeader = new QWidget;
    pnlHeader->setFixedHeight(31);
    auto *header = new QHBoxLayout(pnlHeader);
    header->setContentsMargins(8, 4, 8, 4);
    lblJobNo = new QLabel(QStringLiteral("Job Number"));
    EditJobNo = new QLineEdit(QStringLiteral("9999"));
    EditJobNo->setMaxLength(12);
    EditJobNo->setToolTip(QStringLiteral("Shiftdial Job number"));
    EditJobNo->setFixedWidth(120);
    header->addWidget(lblJobNo);
    header->addWidget(EditJobNo);
    header->addStretch(1);
    layout->addWidget(pnlHeader);

    Splitter1 = new QSplitter(Qt::Horizontal);
    CheckListPhase = new QListWidget;
    CheckListPhase->setObjectName(QStringLiteral("CheckListPhase"));
    QPalette info = CheckListPhase->palette();
    info.setColor(QPalette::Base, info.color(QPalette::ToolTipBase));
    CheckListPhase->setPalette(info);
    DBGridItems = new QTableView;
    DBGridItems->setObjectName(QStringLiteral("DBGridItems"));
    DBGridItems->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGridItems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Splitter1->addWidget(CheckListPhase);
    Splitter1->addWidget(DBGridItems);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({264, 636});
    layout->addWidget(Splitter1, 1);
    return tab;
}

QWidget *TToCrewmintMainFrm::buildFilesTab()
{
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    pnlFileHeader = new QLabel;
    pnlFileHeader->setFrameShape(QFrame::Panel);
    pnlFileHeader->setMargin(4);
    layout->addWidget(pnlFileHeader);

    shellModel = new QFileSystemModel(this);
    shellModel->setNameFilters({QStringLiteral("*.csv"), QStringLiteral("*.xls")});
    shellModel->setNameFilterDisables(false);
    shellModel->setReadOnly(false);
    Shell_ListView = new QTreeView;
    Shell_ListView->setObjectName(QStringLiteral("Shell_ListView"));
    Shell_ListView->setModel(shellModel);
    Shell_ListView->setRootIsDecorated(false);
    Shell_ListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Shell_ListView->setDragDropMode(QAbstractItemView::DragDrop);
    layout->addWidget(Shell_ListView, 1);
    return tab;
}

QWidget *TToCrewmintMainFrm::buildStatusBar()
{
    StatusBar = new QWidget;
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    auto *layout = new QHBoxLayout(StatusBar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < 4; ++i) {
        statusPanels[i] = new QLabel;
        statusPanels[i]->setFrameShape(QFrame::Panel);
        statusPanels[i]->setFrameShadow(QFrame::Sunken);
        layout->addWidget(statusPanels[i], i == 3 ? 1 : 0);
    }
    pbStatus = new QProgressBar;
    pbStatus->setTextVisible(false);
    auto *progressLayout = new QHBoxLayout(statusPanels[1]);
    progressLayout->setContentsMargins(2, 2, 2, 2);
    progressLayout->addWidget(pbStatus);
    return StatusBar;
}

void TToCrewmintMainFrm::showNotebookPage(const QString &name)
{
    for (int i = 0; i < NotebookMain->count(); ++i)
        if (NotebookMain->widget(i)->objectName() == name)
            NotebookMain->setCurrentIndex(i);
}

QString TToCrewmintMainFrm::currentNotebookPage() const { return NotebookMain->currentWidget()->objectName(); }

void TToCrewmintMainFrm::SetButtons(bool on)
{
    // Only the line-item refresh ever enables the export button.
    if (!on)
        tbExportCrew->setEnabled(false);
    tbSelectAll->setEnabled(on);
    tbClearAll->setEnabled(on);
}

void TToCrewmintMainFrm::ShowStatus(int panel, const QString &text)
{
    if (panel >= 0 && panel <= int(statusPanels.size()) - 1)
        statusPanels[panel]->setText(text);
    QCoreApplication::processEvents(); // paint the text at once during long loops
    DebugLog(QStringLiteral("toCrew Stat panel= ") + text);
}

void TToCrewmintMainFrm::sizeStatusPanels()
{
    const std::array<int, 3> widths = statusPanelWidths(StatusBar->width());
    for (int i = 0; i < 3; ++i)
        statusPanels[i]->setFixedWidth(widths[i]);
}

void TToCrewmintMainFrm::FormCreate()
{
    SetButtons(false);
    showNotebookPage(QStringLiteral("Splash"));
    m_firstActivation = true;
    SetStartupValues();
    DebugLog(QStringLiteral("Main formCreate done."));
    StatusBar->resize(width(), StatusBar->sizeHint().height());
    sizeStatusPanels();
    ShowStatus(3, longDateText(QDate::currentDate()));
}

void TToCrewmintMainFrm::FormResize() { sizeStatusPanels(); }

void TToCrewmintMainFrm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    StatusBar->resize(centralWidget()->width(), StatusBar->height());
    FormResize();
}

void TToCrewmintMainFrm::FormClose()
{
    AppRec.JOBNUMBER = EditJobNo->text();
    QCoreApplication::processEvents();
    CloseSettings();
}

void TToCrewmintMainFrm::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TToCrewmintMainFrm::FormDestroy()
{
    try {
        db::Session::defaultSession().close();
        db::Session::defaultSession().dropConnections();
    } catch (...) {
        // The session's own failures do not stop the program from ending.
    }
    if (AppRec.myTemp != AppRec.SystemTemp) {
        FlushFolder(AppRec.myTemp + QStringLiteral("/*.*"));
        DebugLog(QStringLiteral("Flushed myTemp ") + AppRec.myTemp);
    }
    DebugLog(QStringLiteral("----<<Form Destroy done."));
}
