#pragma once

#include "core/Colors.h"
#include "core/EditRules.h"

#include <QLineEdit>
#include <QString>

class QMenu;

// The one-line entry field of the windows. On top of QLineEdit it adds an input rule per
// field (EditType) that filters typed and pasted characters and normalises text assigned
// by the program, a fixed-decimals display (Precision), focus colours, Enter as Tab
// (ReturnIsTab), and a MaxLength that limits the user only. Drag and drop is off; every
// paste path (keys, context menu, middle button) goes through the paste rule.
// Typed or pasted characters that the record files' code page cannot hold become "?".
class TAdvEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(EditTypes::TAdvEditType EditType READ editType WRITE setEditType)
    Q_PROPERTY(int Precision READ precision WRITE setPrecision)
    Q_PROPERTY(bool Signed READ isSigned WRITE setSigned)
    Q_PROPERTY(int MaxLength READ maxLength WRITE setMaxLength)
    Q_PROPERTY(bool ReadOnly READ isReadOnly WRITE setReadOnly)
    Q_PROPERTY(bool TabStop READ tabStop WRITE setTabStop)
    Q_PROPERTY(bool ReturnIsTab READ returnIsTab WRITE setReturnIsTab)
    Q_PROPERTY(bool AutoSelect READ autoSelect WRITE setAutoSelect)
    Q_PROPERTY(quint32 Color READ color WRITE setColor)
    Q_PROPERTY(quint32 FontColor READ fontColor WRITE setFontColor)
    Q_PROPERTY(quint32 FocusColor READ focusColor WRITE setFocusColor)
    Q_PROPERTY(quint32 FocusFontColor READ focusFontColor WRITE setFocusFontColor)
    Q_PROPERTY(quint32 DisabledColor READ disabledColor WRITE setDisabledColor)
    Q_PROPERTY(bool CanUndo READ canUndo WRITE setCanUndo)
    Q_PROPERTY(TEditAlign EditAlign READ editAlign WRITE setEditAlign)
    Q_PROPERTY(TEditAlign FocusAlign READ focusAlign WRITE setFocusAlign)
    Q_PROPERTY(QString Prefix READ prefix WRITE setPrefix)
    Q_PROPERTY(QString Suffix READ suffix WRITE setSuffix)
    Q_PROPERTY(QString ValidChars READ validChars WRITE setValidChars)
    Q_PROPERTY(QString Text READ text WRITE setText NOTIFY changed)
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY changed)
    // Stored but without effect in this program (the windows leave them switched off).
    Q_PROPERTY(bool AutoThousandSeparator READ autoThousandSeparator WRITE setAutoThousandSeparator)
    Q_PROPERTY(bool AutoFocus READ autoFocus WRITE setAutoFocus)
    Q_PROPERTY(quint32 ModifiedColor READ modifiedColor WRITE setModifiedColor)
    Q_PROPERTY(bool ShowModified READ showModified WRITE setShowModified)
    Q_PROPERTY(quint32 ErrorColor READ errorColor WRITE setErrorColor)
    Q_PROPERTY(quint32 ErrorFontColor READ errorFontColor WRITE setErrorFontColor)
    Q_PROPERTY(bool ShowError READ showError WRITE setShowError)
    Q_PROPERTY(bool FocusBorder READ focusBorder WRITE setFocusBorder)
    Q_PROPERTY(int FocusWidthInc READ focusWidthInc WRITE setFocusWidthInc)
    Q_PROPERTY(bool FocusLabel READ focusLabel WRITE setFocusLabel)
    Q_PROPERTY(bool Flat READ flat WRITE setFlat)
    Q_PROPERTY(quint32 FlatLineColor READ flatLineColor WRITE setFlatLineColor)
    Q_PROPERTY(bool FlatParentColor READ flatParentColor WRITE setFlatParentColor)
    Q_PROPERTY(bool Transparent READ transparent WRITE setTransparent)
    Q_PROPERTY(bool SoftBorder READ softBorder WRITE setSoftBorder)
    Q_PROPERTY(QString EmptyText READ emptyText WRITE setEmptyText)
    Q_PROPERTY(int ErrorMarkerPos READ errorMarkerPos WRITE setErrorMarkerPos)
    Q_PROPERTY(int ErrorMarkerLen READ errorMarkerLen WRITE setErrorMarkerLen)
    Q_PROPERTY(int LengthLimit READ lengthLimit WRITE setLengthLimit)
    Q_PROPERTY(bool TabOnFullLength READ tabOnFullLength WRITE setTabOnFullLength)
    Q_PROPERTY(bool ExcelStyleDecimalSeparator READ excelStyleDecimalSeparator WRITE setExcelStyleDecimalSeparator)
    Q_PROPERTY(bool ShowURL READ showURL WRITE setShowURL)
    Q_PROPERTY(quint32 URLColor READ urlColor WRITE setURLColor)
    Q_PROPERTY(QString LabelCaption READ labelCaption WRITE setLabelCaption)
    Q_PROPERTY(int LabelMargin READ labelMargin WRITE setLabelMargin)
    Q_PROPERTY(bool LabelTransparent READ labelTransparent WRITE setLabelTransparent)
    Q_PROPERTY(bool LabelAlwaysEnabled READ labelAlwaysEnabled WRITE setLabelAlwaysEnabled)
    Q_PROPERTY(bool LookupEnabled READ lookupEnabled WRITE setLookupEnabled)
    Q_PROPERTY(bool PersistenceEnable READ persistenceEnable WRITE setPersistenceEnable)
    Q_PROPERTY(bool OleDropTarget READ oleDropTarget WRITE setOleDropTarget)
    Q_PROPERTY(bool OleDropSource READ oleDropSource WRITE setOleDropSource)
    Q_PROPERTY(bool HintShowLargeText READ hintShowLargeText WRITE setHintShowLargeText)

public:
    // The type lives with the rules, below the widgets; TAdvEdit::etNumeric still names it.
    using TAdvEditType = EditTypes::TAdvEditType;
    using enum EditTypes::TAdvEditType;
    enum TEditAlign { eaLeft, eaRight, eaDefault, eaCenter };
    Q_ENUM(TEditAlign)

    explicit TAdvEdit(QWidget* parent = nullptr);

    // The displayed text without Prefix and Suffix.
    QString text() const;
    // Normalises the value by the field's rule and displays it; raises changed() only when
    // the displayed text changes. Never limited by MaxLength.
    void setText(const QString& value);

    TAdvEditType editType() const { return m_editType; }
    void setEditType(TAdvEditType value);
    int precision() const { return m_precision; }
    void setPrecision(int value);
    bool isSigned() const { return m_signed; }
    void setSigned(bool value) { m_signed = value; }
    // Most characters the user may type or paste; 0 = unlimited.
    int maxLength() const { return m_maxLength; }
    void setMaxLength(int value) { m_maxLength = value; }
    bool tabStop() const;
    void setTabStop(bool value);
    bool returnIsTab() const { return m_returnIsTab; }
    void setReturnIsTab(bool value) { m_returnIsTab = value; }
    bool autoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool value) { m_autoSelect = value; }
    // The background shown now (the focus colour while focused).
    TColor color() const { return m_background; }
    // Sets the resting background and shows it.
    void setColor(TColor value);
    TColor fontColor() const { return m_fontColor; }
    void setFontColor(TColor value);
    TColor focusColor() const { return m_focusColor; }
    void setFocusColor(TColor value) { m_focusColor = value; }
    TColor focusFontColor() const { return m_focusFontColor; }
    void setFocusFontColor(TColor value) { m_focusFontColor = value; }
    TColor disabledColor() const { return m_disabledColor; }
    void setDisabledColor(TColor value);
    bool canUndo() const { return m_canUndo; }
    void setCanUndo(bool value) { m_canUndo = value; }
    TEditAlign editAlign() const { return m_editAlign; }
    void setEditAlign(TEditAlign value);
    TEditAlign focusAlign() const { return m_focusAlign; }
    void setFocusAlign(TEditAlign value) { m_focusAlign = value; }
    QString prefix() const { return m_prefix; }
    void setPrefix(const QString& value) { m_prefix = value; }
    QString suffix() const { return m_suffix; }
    void setSuffix(const QString& value) { m_suffix = value; }
    QString validChars() const { return m_validChars; }
    void setValidChars(const QString& value) { m_validChars = value; }

    bool autoThousandSeparator() const { return m_autoThousandSeparator; }
    void setAutoThousandSeparator(bool value) { m_autoThousandSeparator = value; }
    bool autoFocus() const { return m_autoFocus; }
    void setAutoFocus(bool value) { m_autoFocus = value; }
    TColor modifiedColor() const { return m_modifiedColor; }
    void setModifiedColor(TColor value) { m_modifiedColor = value; }
    bool showModified() const { return m_showModified; }
    void setShowModified(bool value) { m_showModified = value; }
    TColor errorColor() const { return m_errorColor; }
    void setErrorColor(TColor value) { m_errorColor = value; }
    TColor errorFontColor() const { return m_errorFontColor; }
    void setErrorFontColor(TColor value) { m_errorFontColor = value; }
    bool showError() const { return m_showError; }
    void setShowError(bool value) { m_showError = value; }
    bool focusBorder() const { return m_focusBorder; }
    void setFocusBorder(bool value) { m_focusBorder = value; }
    int focusWidthInc() const { return m_focusWidthInc; }
    void setFocusWidthInc(int value) { m_focusWidthInc = value; }
    bool focusLabel() const { return m_focusLabel; }
    void setFocusLabel(bool value) { m_focusLabel = value; }
    bool flat() const { return m_flat; }
    void setFlat(bool value) { m_flat = value; }
    TColor flatLineColor() const { return m_flatLineColor; }
    void setFlatLineColor(TColor value) { m_flatLineColor = value; }
    bool flatParentColor() const { return m_flatParentColor; }
    void setFlatParentColor(bool value) { m_flatParentColor = value; }
    bool transparent() const { return m_transparent; }
    void setTransparent(bool value) { m_transparent = value; }
    bool softBorder() const { return m_softBorder; }
    void setSoftBorder(bool value) { m_softBorder = value; }
    QString emptyText() const { return m_emptyText; }
    void setEmptyText(const QString& value) { m_emptyText = value; }
    int errorMarkerPos() const { return m_errorMarkerPos; }
    void setErrorMarkerPos(int value) { m_errorMarkerPos = value; }
    int errorMarkerLen() const { return m_errorMarkerLen; }
    void setErrorMarkerLen(int value) { m_errorMarkerLen = value; }
    int lengthLimit() const { return m_lengthLimit; }
    void setLengthLimit(int value) { m_lengthLimit = value; }
    bool tabOnFullLength() const { return m_tabOnFullLength; }
    void setTabOnFullLength(bool value) { m_tabOnFullLength = value; }
    bool excelStyleDecimalSeparator() const { return m_excelStyleDecimalSeparator; }
    void setExcelStyleDecimalSeparator(bool value) { m_excelStyleDecimalSeparator = value; }
    bool showURL() const { return m_showURL; }
    void setShowURL(bool value) { m_showURL = value; }
    TColor urlColor() const { return m_urlColor; }
    void setURLColor(TColor value) { m_urlColor = value; }
    QString labelCaption() const { return m_labelCaption; }
    void setLabelCaption(const QString& value) { m_labelCaption = value; }
    int labelMargin() const { return m_labelMargin; }
    void setLabelMargin(int value) { m_labelMargin = value; }
    bool labelTransparent() const { return m_labelTransparent; }
    void setLabelTransparent(bool value) { m_labelTransparent = value; }
    bool labelAlwaysEnabled() const { return m_labelAlwaysEnabled; }
    void setLabelAlwaysEnabled(bool value) { m_labelAlwaysEnabled = value; }
    bool lookupEnabled() const { return m_lookupEnabled; }
    void setLookupEnabled(bool value) { m_lookupEnabled = value; }
    bool persistenceEnable() const { return m_persistenceEnable; }
    void setPersistenceEnable(bool value) { m_persistenceEnable = value; }
    bool oleDropTarget() const { return m_oleDropTarget; }
    void setOleDropTarget(bool value) { m_oleDropTarget = value; }
    bool oleDropSource() const { return m_oleDropSource; }
    void setOleDropSource(bool value) { m_oleDropSource = value; }
    bool hintShowLargeText() const { return m_hintShowLargeText; }
    void setHintShowLargeText(bool value) { m_hintShowLargeText = value; }

    // Pastes `pasted` through the paste rule, as Ctrl+V, Shift+Insert and the menu do.
    void pasteText(const QString& pasted);
    // The context menu, its Paste bound to the paste rule (shown by the right button).
    QMenu* createContextMenu();

signals:
    // OnChange: once per real change of the displayed text, synchronously.
    void changed();
    // OnKeyPress: raised for Enter just before the field drops it.
    void keyPress(QChar key);
    // OnClipboardCopy, OnClipboardCut, OnClipboardPaste: receive the selected text and may
    // refuse by clearing `allow` (connect directly).
    void clipboardCopy(const QString& selected, bool& allow);
    void clipboardCut(const QString& selected, bool& allow);
    void clipboardPaste(const QString& selected, bool& allow);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void pasteFromClipboard();
    bool clipboardRequestAllowed(void (TAdvEdit::*request)(const QString&, bool&));
    void handleEnterDown(const QKeyEvent& event);
    void handleCharacter(QChar c, bool ctrlHeld, QKeyEvent* event);
    void insertTyped(QChar c);
    void undoToFocusEntry();
    void setDisplayedText(const QString& displayed);
    void applyColors();
    void applyAlignment(TEditAlign align);
    void selectAllCaretAtStart();

    TAdvEditType m_editType = etString;
    int m_precision = 0;
    bool m_signed = false;
    int m_maxLength = 0;
    bool m_returnIsTab = false;
    bool m_autoSelect = true;
    TColor m_background = clWindow;
    TColor m_restingColor = clWindow;
    TColor m_fontColor = clWindowText;
    TColor m_restingFontColor = clWindowText;
    TColor m_focusColor = clWindow;
    TColor m_focusFontColor = clWindowText;
    TColor m_disabledColor = clSilver;
    bool m_canUndo = true;
    TEditAlign m_editAlign = eaLeft;
    TEditAlign m_focusAlign = eaDefault;
    QString m_prefix;
    QString m_suffix;
    QString m_validChars;
    QString m_focusEntryText;
    QString m_shownText; // as last reported by changed()
    bool m_pressInSelection = false;

    bool m_autoThousandSeparator = true;
    bool m_autoFocus = false;
    TColor m_modifiedColor = clHighlight;
    bool m_showModified = false;
    TColor m_errorColor = clRed;
    TColor m_errorFontColor = clWhite;
    bool m_showError = false;
    bool m_focusBorder = false;
    int m_focusWidthInc = 0;
    bool m_focusLabel = false;
    bool m_flat = false;
    TColor m_flatLineColor = clBlack;
    bool m_flatParentColor = true;
    bool m_transparent = false;
    bool m_softBorder = false;
    QString m_emptyText;
    int m_errorMarkerPos = 0;
    int m_errorMarkerLen = 0;
    int m_lengthLimit = 0;
    bool m_tabOnFullLength = false;
    bool m_excelStyleDecimalSeparator = false;
    bool m_showURL = false;
    TColor m_urlColor = clBlue;
    QString m_labelCaption;
    int m_labelMargin = 4;
    bool m_labelTransparent = false;
    bool m_labelAlwaysEnabled = false;
    bool m_lookupEnabled = false;
    bool m_persistenceEnable = false;
    bool m_oleDropTarget = false;
    bool m_oleDropSource = false;
    bool m_hintShowLargeText = false;
};
