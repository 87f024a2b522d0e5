#include "Screenshots.h"

#include "app/ui/SearchWindow.h"
#include "search/ui/SearchFilesForm.h"

#include <QLineEdit>

using namespace tarvin;

void ShootFindWindow(const QString &archive) {
    ShowSearchWindow(archive);
    TWndSearchFiles *search = SearchWindow();
    search->resize(760, 520);
    search->Edit_ContainingText->setText(QStringLiteral("supplier"));
    search->Button_FindClick();
    WaitFor([&] { return !search->IsSearching() && search->LastSearchCompleted(); }, 30000,
            "the search");
    Settle(1500);
    Save(search, "find");
    search->close();
}
