#include "ui/help_window.h"

#include <QDirIterator>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace qw {

namespace {

constexpr const char* kHelpFolder = ":/help";
constexpr const char* kContentsPage = ":/help/index.html";
constexpr int kFileRole = Qt::UserRole;  // item data: the page (with #fragment) an entry opens

QString ReadResource(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

// Text of an HTML fragment, entities decoded.
QString PlainText(const QString& html) { return QTextDocumentFragment::fromHtml(html).toPlainText().simplified(); }

QString MetaContent(const QString& html, const QString& name) {
    const QRegularExpression re(QStringLiteral("<meta\\s+name=\"%1\"\\s+content=\"([^\"]*)\"").arg(name),
                                QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(html);
    return m.hasMatch() ? PlainText(m.captured(1)) : QString();
}

// ":/help/x.html#part" -> the qrc URL the browser understands, and back.
QUrl ResourceUrl(const QString& file) {
    const int hash = file.indexOf('#');
    QUrl url(QStringLiteral("qrc") + (hash < 0 ? file : file.left(hash)));
    if (hash >= 0) url.setFragment(file.mid(hash + 1));
    return url;
}

QString ResourceFile(const QUrl& url) {
    if (url.scheme() != QLatin1String("qrc")) return url.toString();
    return QStringLiteral(":") + url.path();
}

QString WithoutFragment(const QString& file) {
    const int hash = file.indexOf('#');
    return hash < 0 ? file : file.left(hash);
}

}  // namespace

QVector<HelpTopic> LoadHelpTopics() {
    QVector<HelpTopic> topics;
    QDirIterator it(kHelpFolder, {QStringLiteral("*.html")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        HelpTopic t;
        t.file = it.next();
        const QString html = ReadResource(t.file);
        static const QRegularExpression titleRe(QStringLiteral("<title>(.*?)</title>"),
                                                QRegularExpression::CaseInsensitiveOption |
                                                    QRegularExpression::DotMatchesEverythingOption);
        const auto title = titleRe.match(html);
        t.title = title.hasMatch() ? PlainText(title.captured(1)) : t.file;
        for (const QString& k : MetaContent(html, QStringLiteral("keywords")).split(';', Qt::SkipEmptyParts)) {
            const QString keyword = k.trimmed();
            if (!keyword.isEmpty()) t.keywords << keyword;
        }
        t.context = MetaContent(html, QStringLiteral("context")).toInt();
        static const QRegularExpression headRe(QStringLiteral("<head>.*</head>"),
                                               QRegularExpression::CaseInsensitiveOption |
                                                   QRegularExpression::DotMatchesEverythingOption);
        t.text = PlainText(QString(html).remove(headRe)).toLower();
        topics << t;
    }
    std::sort(topics.begin(), topics.end(), [](const HelpTopic& a, const HelpTopic& b) { return a.file < b.file; });
    return topics;
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), topics_(LoadHelpTopics()) {
    setWindowTitle(QStringLiteral("QUILLWORK Help"));
    setObjectName(QStringLiteral("HelpWindow"));
    resize(960, 680);

    auto* back = new QPushButton(QStringLiteral("&Back"));
    auto* forward = new QPushButton(QStringLiteral("&Forward"));
    auto* home = new QPushButton(QStringLiteral("&Contents"));
    back->setEnabled(false);
    forward->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(home);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch(1);

    contents_ = new QTreeWidget;
    contents_->setHeaderHidden(true);
    contents_->setObjectName(QStringLiteral("HelpContents"));

    searchBox_ = new QLineEdit;
    searchBox_->setObjectName(QStringLiteral("HelpSearchBox"));
    searchBox_->setPlaceholderText(QStringLiteral("Type a keyword"));
    searchBox_->setClearButtonEnabled(true);
    searchResults_ = new QListWidget;
    searchResults_->setObjectName(QStringLiteral("HelpSearchResults"));
    auto* searchPage = new QWidget;
    auto* searchLayout = new QVBoxLayout(searchPage);
    auto* searchLabel = new QLabel(QStringLiteral("&Keyword:"));
    searchLabel->setBuddy(searchBox_);
    searchLayout->addWidget(searchLabel);
    searchLayout->addWidget(searchBox_);
    searchLayout->addWidget(searchResults_, 1);

    tabs_ = new QTabWidget;
    tabs_->addTab(contents_, QStringLiteral("Contents"));
    tabs_->addTab(searchPage, QStringLiteral("Search"));

    browser_ = new QTextBrowser;
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);  // a web address opens in the desktop's browser

    auto* splitter = new QSplitter;
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 660});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    BuildContents();
    UpdateSearchResults(QString());

    connect(home, &QPushButton::clicked, this, [this] { ShowFile(kContentsPage); });
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this,
            [this](const QUrl& url) { SelectContentsEntry(ResourceFile(url)); });
    connect(contents_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ShowFile(item->data(0, kFileRole).toString()); });
    connect(contents_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { ShowFile(item->data(0, kFileRole).toString()); });
    connect(searchBox_, &QLineEdit::textChanged, this, &HelpWindow::UpdateSearchResults);
    connect(searchBox_, &QLineEdit::returnPressed, this, [this] {
        if (searchResults_->count() == 0) return;
        if (!searchResults_->currentItem()) searchResults_->setCurrentRow(0);
        OpenSearchResult();
    });
    connect(searchResults_, &QListWidget::itemClicked, this, &HelpWindow::OpenSearchResult);
    connect(searchResults_, &QListWidget::itemActivated, this, &HelpWindow::OpenSearchResult);
}

void HelpWindow::BuildContents() {
    contents_->clear();
    QString titleOfContents = QStringLiteral("Contents");
    for (const auto& t : topics_)
        if (t.file == QLatin1String(kContentsPage)) titleOfContents = t.title;
    auto* top = new QTreeWidgetItem(contents_, {titleOfContents});
    top->setData(0, kFileRole, QString(kContentsPage));

    // The lists of index.html, nested as they are there: an <a> inside a
    // <ul> becomes an entry at that list's depth, under the entry before it.
    const QString html = ReadResource(kContentsPage);
    static const QRegularExpression token(
        QStringLiteral("<(/?)ul\\b[^>]*>|<a\\s+[^>]*href=\"([^\"]+)\"[^>]*>(.*?)</a>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    QVector<QTreeWidgetItem*> parents;  // the entry each open list hangs under
    QTreeWidgetItem* last = nullptr;
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<ul"), Qt::CaseInsensitive)) {
            parents.push_back(last);
        } else if (m.captured(1) == QLatin1String("/")) {
            if (!parents.isEmpty()) parents.pop_back();
        } else if (!parents.isEmpty()) {
            const QString href = m.captured(2);
            if (href.contains(QLatin1String("://"))) continue;
            const QString file = QStringLiteral(":/help/") + href;
            QTreeWidgetItem* parent = parents.back();
            auto* item = parent ? new QTreeWidgetItem(parent, {PlainText(m.captured(3))})
                                : new QTreeWidgetItem(contents_, {PlainText(m.captured(3))});
            item->setData(0, kFileRole, file);
            last = item;
        }
    }
    contents_->expandAll();
}

void HelpWindow::ShowFile(const QString& file) {
    const QUrl url = ResourceUrl(file);
    if (browser_->source() == url) {
        // Same page and place: scroll back to the place anyway.
        if (!url.fragment().isEmpty()) browser_->scrollToAnchor(url.fragment());
        return;
    }
    browser_->setSource(url);
}

QString HelpWindow::CurrentFile() const { return ResourceFile(browser_->source().adjusted(QUrl::RemoveFragment)); }

void HelpWindow::SelectContentsEntry(const QString& file) {
    // The entry of exactly this place, else the first entry of the page.
    QTreeWidgetItem* pageEntry = nullptr;
    for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
        const QString entry = (*it)->data(0, kFileRole).toString();
        if (entry == file) {
            contents_->setCurrentItem(*it);
            return;
        }
        if (!pageEntry && WithoutFragment(entry) == WithoutFragment(file)) pageEntry = *it;
    }
    if (pageEntry) contents_->setCurrentItem(pageEntry);
}

QVector<HelpWindow::SearchHit> HelpWindow::Search(const QString& text) const {
    const QString wanted = text.simplified();
    struct Entry {
        QString keyword;
        const HelpTopic* topic;
    };
    QVector<Entry> entries;
    for (const auto& t : topics_)
        for (const auto& k : t.keywords)
            if (wanted.isEmpty() || k.contains(wanted, Qt::CaseInsensitive)) entries.push_back({k, &t});
    // Keywords beginning with the text first, then alphabetical.
    std::stable_sort(entries.begin(), entries.end(), [&wanted](const Entry& a, const Entry& b) {
        const bool aStarts = a.keyword.startsWith(wanted, Qt::CaseInsensitive);
        const bool bStarts = b.keyword.startsWith(wanted, Qt::CaseInsensitive);
        if (aStarts != bStarts) return aStarts;
        const int c = a.keyword.compare(b.keyword, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.topic->title < b.topic->title;
    });
    QVector<SearchHit> hits;
    QStringList found;  // pages already listed
    for (const auto& e : entries) {
        hits.push_back({e.keyword + QStringLiteral("  \u2013  ") + e.topic->title, e.topic->file});
        found << e.topic->file;
    }
    if (wanted.isEmpty()) return hits;
    const QString lower = wanted.toLower();
    for (const auto& t : topics_)
        if (!found.contains(t.file) && t.text.contains(lower))
            hits.push_back({t.title + QStringLiteral("  (in the text)"), t.file});
    return hits;
}

void HelpWindow::UpdateSearchResults(const QString& text) {
    searchResults_->clear();
    const auto hits = Search(text);
    for (const auto& h : hits) {
        auto* item = new QListWidgetItem(h.label, searchResults_);
        item->setData(kFileRole, h.file);
        item->setToolTip(h.label);
    }
    if (hits.isEmpty() && !text.trimmed().isEmpty()) {
        auto* item = new QListWidgetItem(QStringLiteral("No topic found for \"%1\"").arg(text.trimmed()),
                                         searchResults_);
        item->setFlags(Qt::NoItemFlags);
    } else if (!hits.isEmpty()) {
        searchResults_->setCurrentRow(0);
    }
}

void HelpWindow::OpenSearchResult() {
    const QListWidgetItem* item = searchResults_->currentItem();
    if (!item) return;
    const QString file = item->data(kFileRole).toString();
    if (file.isEmpty()) return;
    ShowFile(file);
    // Mark the first place where the searched word stands on the page.
    const QString wanted = searchBox_->text().simplified();
    if (!wanted.isEmpty()) {
        browser_->moveCursor(QTextCursor::Start);
        if (!browser_->find(wanted)) browser_->moveCursor(QTextCursor::Start);
    }
}

void HelpWindow::BringUp() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void HelpWindow::ShowContents() {
    tabs_->setCurrentIndex(0);
    ShowFile(kContentsPage);
    BringUp();
    contents_->setFocus();
}

void HelpWindow::ShowSearch() {
    tabs_->setCurrentIndex(1);
    if (browser_->source().isEmpty()) ShowFile(kContentsPage);
    BringUp();
    searchBox_->setFocus();
    searchBox_->selectAll();
}

bool HelpWindow::ShowTopic(int contextNumber) {
    for (const auto& t : topics_) {
        if (contextNumber != 0 && t.context == contextNumber) {
            tabs_->setCurrentIndex(0);
            ShowFile(t.file);
            BringUp();
            return true;
        }
    }
    return false;
}

}  // namespace qw
