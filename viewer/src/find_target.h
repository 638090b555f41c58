// What the find dialog searches: a view that takes a term, marks it on the page it shows and
// looks for it page by page.
#pragma once

#include <QString>

class QWidget;

namespace viewer {

class FindTarget {
  public:
    virtual ~FindTarget() = default;

    /// The window the dialog belongs to and closes with.
    virtual QWidget* findOwner() = 0;
    /// Why a term cannot be searched for.
    enum class Refusal { kNone, kUnrepresentable, kTooLong };
    /// Takes `text` as the term the searches look for, unless it is refused.
    virtual Refusal takeSearchTerm(const QString& text) = 0;
    /// Marks the term on the page shown: the number of places found.
    virtual int markOnPage() = 0;
    /// A search page by page begins where the view stands.
    virtual void beginPageSearch() {}
    /// Searches the next page towards the last or the first: the number of places found.
    virtual int searchNextPage(bool towardsLast) = 0;
    /// Whether the page searched last is the last or the first.
    virtual bool searchedEnd(bool towardsLast) const = 0;
    /// The page searched last (from 1), and the document's page count.
    virtual int searchedPage() const = 0;
    virtual int searchedPageCount() const = 0;
    /// A search page by page is over, with places found on the page searched last or none.
    virtual void endPageSearch(bool found) { (void)found; }
};

}  // namespace viewer
