#pragma once
// The frame around the sheet's current page: a caption bar naming the selected
// tree item, and a message area for a tree item without a page. PageFrame is
// the interface the sheet holds; DefaultPageFrame paints a gradient caption.

#include <QIcon>
#include <QRect>
#include <QString>
#include <QWidget>

class QPainter;

namespace config {

class PageFrame {
public:
    virtual ~PageFrame() = default;

    virtual QWidget* GetWnd() = 0;

    virtual void ShowCaption(bool show);
    virtual void SetCaptionHeight(int height);
    virtual void SetCaption(const QString& text, const QIcon& icon = {});
    virtual void SetMsgText(const QString& text);
    virtual void SetMsgFormat(int flags);

    // The caption (when shown), then the message.
    virtual void Draw(QPainter& painter);
    virtual QRect CalcMsgArea();
    virtual void DrawMsg(QPainter& painter, const QRect& area, const QString& text, int flags);
    virtual QRect CalcCaptionArea();
    virtual void DrawCaption(QPainter& painter, const QRect& area, const QString& text, const QIcon& icon);

    bool GetShowCaption() const { return showCaption_; }
    int GetCaptionHeight() const { return captionHeight_; }
    const QString& GetCaption() const { return caption_; }
    const QIcon& GetCaptionIcon() const { return icon_; }
    const QString& GetMsgText() const { return message_; }
    int GetMsgFormat() const { return format_; }

protected:
    void Invalidate(const QRect& area);

private:
    bool showCaption_ = false;
    int captionHeight_ = 0;
    QString caption_;
    QIcon icon_;
    QString message_;
    int format_ = Qt::AlignCenter | Qt::TextSingleLine;
};

class DefaultPageFrame : public QWidget, public PageFrame {
    Q_OBJECT
public:
    explicit DefaultPageFrame(QWidget* parent = nullptr);

    QWidget* GetWnd() override { return this; }
    // One pixel below the caption bar.
    QRect CalcMsgArea() override;
    void DrawCaption(QPainter& painter, const QRect& area, const QString& text, const QIcon& icon) override;

    // The caption text as it fits the bar (elided at the end).
    QString DisplayedCaption() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int CaptionTextWidth() const;
};

}  // namespace config
