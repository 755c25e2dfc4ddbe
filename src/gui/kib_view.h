// The view of one document: a tab of the main window showing the preview of
// the document's sheet layout. Several views may show one document.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>

namespace kib {
class CKibDoc;
}

namespace kib::gui {

class CKibView : public QWidget {
    Q_OBJECT
  public:
    explicit CKibView(std::shared_ptr<CKibDoc> doc, QWidget* parent = nullptr);

    CKibDoc* Document() const { return doc_.get(); }
    const std::shared_ptr<CKibDoc>& SharedDocument() const { return doc_; }

    // Called after every repaint (the re-check after a tab switch).
    std::function<void(CKibDoc*)> afterPaint;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::shared_ptr<CKibDoc> doc_;
};

} // namespace kib::gui
