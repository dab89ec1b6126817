// The one list of command identifiers: the menu bar, the accelerators, the view's
// command table and context menu, and every handler of a command use these names.
#pragma once

namespace qorva::command_id {

// File
inline constexpr int New = 57600, Open = 57601, Close = 57602, Save = 57603, SaveAs = 57604, Print = 57607,
                     Exit = 57665;
inline constexpr int RecentFirst = 57616, RecentLast = 57631;
inline constexpr int ReopenQorva = 33000, ReopenPandoc = 33001, ReopenGithub = 33002, ReopenMmd = 33003;
inline constexpr int SaveInQorva = 33020, SaveInPandoc = 33021, SaveInGithub = 33022, SaveInMmd = 33023;
inline constexpr int ImportHtml = 33040, ImportLatex = 33041;
inline constexpr int ExportPdf = 33060, ExportHtml5 = 33061, ExportXelatex = 33062, ExportWord = 33063,
                     ExportRichText = 33064, ExportEpub = 33065;
inline constexpr int RepeatExport = 33080;

// Edit
inline constexpr int Undo = 57643, Redo = 57644;
inline constexpr int Cut = 57635, Copy = 57634, CopyAsHtml = 32900, Paste = 57637;
inline constexpr int PasteQorvaFormat = 32901, PasteMultiMarkdown = 32902;
inline constexpr int ShiftUp = 32850, ShiftDown = 32851, ShiftLeft = 32852, ShiftRight = 32853, Indent = 32854,
                     Unindent = 32855;
inline constexpr int FollowLink = 32860;
inline constexpr int LeftToRight = 32840, RightToLeft = 32841;
inline constexpr int Search = 57636, Replace = 57641;
inline constexpr int Preferences = 33160;

// Insert
inline constexpr int InsertHyperlink = 32911, InsertFootnote = 32870, InsertImage = 32910, InsertTable = 32871,
                     InsertRule = 32872;

// Paragraph, Character, Table
inline constexpr int Heading1 = 32800, Heading2 = 32801, Heading3 = 32802, Bulleted = 32803, Numbered = 32804,
                     CodeBlock = 32805, MathBlock = 32806, ImageBlock = 32807, Note = 32808, Quotation = 32809,
                     Comment = 32810, Plain = 32811, Heading4 = 32812, Heading5 = 32813, Heading6 = 32814,
                     HtmlBlock = 32815, TexBlock = 32816, Term = 32817, Definition = 32818, CodeLanguage = 32912,
                     ImageDescription = 32913;
inline constexpr int Emphasis = 32820, Strong = 32821, CodeSpan = 32822, MathSpan = 32823, Url = 32824,
                     HyperlinkText = 32825, Reference = 32826, ClearFormatting = 32827, Strikeout = 32828,
                     Superscript = 32829, Subscript = 32830;
inline constexpr int RowBefore = 32880, RowAfter = 32881, ColumnBefore = 32882, ColumnAfter = 32883,
                     RemoveRow = 32884, RemoveColumn = 32885;

// Window
inline constexpr int FullScreen = 33120;
inline constexpr int ZoomLarger = 32920, ZoomSmaller = 32921, ZoomReset = 32922;
inline constexpr int ThemeFirst = 33100, ThemeLast = 33110, ThemeDesktop = 33099;
inline constexpr int DisplayWordCount = 33130, DisplayCharacterCount = 33131;
inline constexpr int Outline = 33150, FocusMode = 33151, TypewriterMode = 33152;

// Help
inline constexpr int About = 57664, CheckForUpdates = 33140, WelcomeDocument = 33141, Support = 33144,
                     Feedback = 33145;


}  // namespace qorva::command_id
