// The user guide: HTML pages compiled into the program under :/help, shown
// in one top-level window with a contents list, a keyword search and
// look-up of a page by its context number.
//
// Every page describes itself in its <head>:
//   <title>Page title</title>
//   <meta name="keywords" content="first keyword; second keyword; ...">
//   <meta name="context" content="208">   (optional: the page's number)
// The contents list follows the links of index.html, nested as its lists
// are; so adding a page means writing it and linking it from index.html.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace qw {

// The context number of the page on the project file's cards, opened by
// Help > QUILLWORK project Commands.
inline constexpr int kProjectCommandsContext = 208;

// One page of the guide as its <head> describes it.
struct HelpTopic {
    QString file;          // resource path, ":/help/ground.html"
    QString title;         // its <title>
    QStringList keywords;  // its keywords meta tag, split at ';'
    int context = 0;       // its context number, 0 when it has none
    QString text;          // the page's text without tags, lower case, for the text search
};

// The guide's pages, read from the resources (every .html file under
// :/help, sorted by file name).
QVector<HelpTopic> LoadHelpTopics();

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the window with the contents list and the guide's first page.
    void ShowContents();
    // Shows the window with the keyword box focused.
    void ShowSearch();
    // Shows the page with this context number; false (and nothing shown)
    // when no page has it.
    bool ShowTopic(int contextNumber);

    // The resource path of the page on display, ":/help/index.html".
    QString CurrentFile() const;
    const QVector<HelpTopic>& Topics() const { return topics_; }

    // The keyword search as the window runs it: for each match, the text
    // listed and the page it opens. Keywords containing the text come
    // first (in keyword order), then pages whose text contains it.
    struct SearchHit {
        QString label;
        QString file;
    };
    QVector<SearchHit> Search(const QString& text) const;

    // The contents list, the search box and its result list, for tests.
    QTreeWidget* ContentsList() const { return contents_; }
    QLineEdit* SearchBox() const { return searchBox_; }
    QListWidget* SearchResults() const { return searchResults_; }
    QTextBrowser* Browser() const { return browser_; }

private:
    void BuildContents();
    void ShowFile(const QString& file);
    void UpdateSearchResults(const QString& text);
    void OpenSearchResult();
    void SelectContentsEntry(const QString& file);
    void BringUp();

    QVector<HelpTopic> topics_;
    QTabWidget* tabs_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QLineEdit* searchBox_ = nullptr;
    QListWidget* searchResults_ = nullptr;
    QTextBrowser* browser_ = nullptr;
};

}  // namespace qw
