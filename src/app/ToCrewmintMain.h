#pragma once

#include <QMainWindow>
#include <QToolBar>

#include <array>

class QAction;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QSplitter;
class QStackedWidget;
class QTabWidget;
class QTableView;
class QTreeView;
class TSplashPanel;

// The tool bar that paints a vertical gradient behind its buttons.
class TGradientToolBar : public QToolBar {
    Q_OBJECT
public:
    using QToolBar::QToolBar;
    int linesDrawn() const { return m_linesDrawn; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_linesDrawn = 0;
};

// Widths of status panels 0, 1 and 2 for a bar of the given width; panel 3 takes the rest.
std::array<int, 3> statusPanelWidths(int barWidth);

class TToCrewmintMainFrm : public QMainWindow {
    Q_OBJECT
public:
    explicit TToCrewmintMainFrm(QWidget *parent = nullptr);
    ~TToCrewmintMainFrm() override;

    void SetButtons(bool on);
    void ShowStatus(int panel, const QString &text);
    void showNotebookPage(const QString &name);
    QString currentNotebookPage() const;
    bool firstActivation() const { return m_firstActivation; }

    // Components, named as the form names them.
    TGradientToolBar *ToolBar = nullptr;
    QAction *tbExportCrew = nullptr;
    QAction *tbSelectAll = nullptr;
    QAction *tbClearAll = nullptr;
    QAction *mnuFileOpen = nullptr;
    std::array<QAction *, 5> FileMRU{};
    QAction *mnuFileExit = nullptr;
    QAction *mnuEditPref = nullptr;
    QAction *mnuAbout = nullptr;
    QStackedWidget *NotebookMain = nullptr;
    TSplashPanel *SplashPanel = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QWidget *tabSheetPhases = nullptr;
    QWidget *tabSheetCSV = nullptr;
    QWidget *pnlHeader = nullptr;
    QLabel *lblJobNo = nullptr;
    QLineEdit *EditJobNo = nullptr;
    QSplitter *Splitter1 = nullptr;
    QListWidget *CheckListPhase = nullptr;
    QTableView *DBGridItems = nullptr;
    QLabel *pnlFileHeader = nullptr;
    QTreeView *Shell_ListView = nullptr;
    QFileSystemModel *shellModel = nullptr;
    QWidget *StatusBar = nullptr;
    std::array<QLabel *, 4> statusPanels{};
    QProgressBar *pbStatus = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    QWidget *buildExportPage();
    QWidget *buildPhasesTab();
    QWidget *buildFilesTab();
    QWidget *buildStatusBar();
    void sizeStatusPanels();

    void FormCreate();
    void FormResize();
    void FormClose();
    void FormDestroy();

    bool m_firstActivation = false;
};
