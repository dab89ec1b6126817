// A window that another program's content can be dragged from, for the window
// tests: pressing the mouse in it starts a drag of the given data.
// Usage: drag_source MIME-TYPE DATA [MIME-TYPE DATA ...]; a text/uri-list DATA is
// one URL per line. Standard output says "drag started" once the drag runs,
// "drag action: N" whenever the target's answer changes the action the drop
// would take, and "drag ended: N" after it, N the action the target took (0: refused).
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

class DragSource : public QWidget {
public:
    explicit DragSource(QStringList pairs) : pairs_(std::move(pairs)) {
        setWindowTitle(QStringLiteral("Drag source"));
        resize(160, 160);
    }

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* data = new QMimeData;
        for (int i = 0; i + 1 < pairs_.size(); i += 2) {
            if (pairs_[i] == QLatin1String("text/uri-list")) {
                QList<QUrl> urls;
                for (const QString& line : pairs_[i + 1].split(QLatin1Char('\n'), Qt::SkipEmptyParts)) urls << QUrl(line);
                data->setUrls(urls);
            } else {
                data->setData(pairs_[i], pairs_[i + 1].toUtf8());
            }
        }
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        QObject::connect(drag, &QDrag::actionChanged, [](Qt::DropAction action) {
            std::printf("drag action: %d\n", static_cast<int>(action));
            std::fflush(stdout);
        });
        // Said from inside the drag's own event loop.
        QTimer::singleShot(0, [] { std::printf("drag started\n"); std::fflush(stdout); });
        std::printf("drag ended: %d\n", static_cast<int>(drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction)));
        std::fflush(stdout);
    }

private:
    QStringList pairs_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DragSource window(QApplication::arguments().mid(1));
    window.move(0, 0);
    window.show();
    return QApplication::exec();
}
