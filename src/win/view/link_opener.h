// Following a link of the document: the rules of link_rules.h, with the questions
// and messages they lead to.
#pragma once

#include <QString>

class QWidget;

namespace qorva {

// A link the page took for a URL.
void FollowUrlLink(QWidget* owner, const QString& url);

// An absolute local path (a relative link already joined with the document's folder).
void FollowFileLink(QWidget* owner, const QString& path);

}  // namespace qorva
