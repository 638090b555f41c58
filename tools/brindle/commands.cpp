// The subcommands brindle knows, with their usage, in the order --help lists them.
#include "command_line.h"

namespace brindle {

const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
        {"info", "what a document is: format, version, pages, page sizes or boxes",
         "info FILE [--pages | --page N]\n"
         "  --pages  (VYN, QD) also each page's printed number, pictures and user-defined\n"
         "           characters\n"
         "  --page N (PDF, ZOR) also page N's MediaBox, CropBox, rotation, user unit and shown size\n"
         "  With --json: {\"format\",\"version\",\"doc_type\",\"pages\",\"page_size\"}"
         " and \"page_list\" with --pages;\n"
         "  for PDF and ZOR {\"format\",\"version\",\"pages\",\"xref\",\"linearized\"} and \"page\",\n"
         "  \"media_box\", \"crop_box\", \"rotate\", \"user_unit\", \"page_size\" with --page, or\n"
         "  {\"file\",\"error_code\",\"error_message\"} when it does not open.",
         runInfo, "brindle info --json paper.pdf --page 1"},
        {"lowres", "copy a VYN or QD document with its one-bit pictures reduced to 200 dpi",
         "lowres IN OUT\n"
         "  Writes OUT as a VYN file: one-bit (scanned) pictures at 200 dots per inch, everything\n"
         "  else as IN holds it. OUT may be IN, but not a name with \".qd\" in it. With --json:\n"
         "  {\"file\",\"pages\",\"bytes_in\",\"bytes_out\"}.",
         runLowres, "brindle lowres scan.vyn scan-200dpi.vyn"},
        {"pictures", "write the decoded pictures of a page as PNG files",
         "pictures FILE -p PAGE -o FOLDER\n"
         "  PAGE counts from 1. Files are named pagePAGE-pictureK.png, K counting the page's\n"
         "  pictures from 1; empty places and pictures that do not decode are skipped.",
         nullptr, "brindle pictures paper.vyn -p 1 -o pictures/"},
        {"render", "draw pages of a document into PNG images",
         "render FILE -p PAGES -o OUT.png [--dpi D | --width W] [--height H] [--no-pictures]\n"
         "              VYN, QD: [--ratio R] [--codepage 936|950] [--font FACE]\n"
         "              PDF, ZOR: [--scale PCT] [--big5] [--no-graphics] [--no-antialias]\n"
         "  PAGES: a page counting from 1, a list of pages and ranges (1-3,7) or all. With\n"
         "  more than one page OUT.png must hold %d (or %0Nd, N digits), which stands for the\n"
         "  page number; pages past the end are an error. D defaults to 72, R to 1 and PCT to\n"
         "  100. --width and --height (either or both, in pixels) draw each page at the largest\n"
         "  whole resolution that fits it in them, in place of --dpi. --no-antialias draws\n"
         "  paths and pictures with hard edges. --codepage 950 and --big5 show Traditional\n"
         "  characters; --font draws every text face with FACE. With --json:\n"
         "  {\"file\",\"page\",\"width\",\"height\"} for one page number,\n"
         "  {\"pages\":[{\"file\",\"page\",\"width\",\"height\"}]} for a list.",
         nullptr, "brindle render paper.pdf -p 1-3,7 --dpi 150 -o page-%d.png"},
        {"replace-code", "rewrite one character code throughout a VYN or QD file, in place",
         "replace-code FILE HEX REPL\n"
         "  HEX: the code as four hexadecimal digits (b0a1); REPL: the replacement, the same way.",
         runReplaceCode, "brindle replace-code paper.vyn b9fa b0a1"},
        {"text", "the text of a page, of a rectangle of it, or between two points",
         "text FILE -p PAGE [--rect L,T,R,B | --between X1,Y1,X2,Y2] [--dpi D] [--ratio R]\n"
         "            [--codepage 936|950] [--encoding utf8|native] [--rect-mode] [--layout]\n"
         "  Coordinates are pixels of the page drawn at D dots per inch (72) and ratio R (1).\n"
         "  --rect: the characters whose centres lie inside; --between: from the character\n"
         "  under the first point to the one under the second, with spaces and line breaks.\n"
         "  Neither: the whole page. PDF and ZOR pages take --rect (the text a selection\n"
         "  from its top-left to its bottom-right corner takes, or with --rect-mode the\n"
         "  characters inside) and --dpi; their text is UTF-8 in reading\n"
         "  order, or with --layout set out in rows and columns as on the page. Without -p a\n"
         "  PDF or ZOR file gives every page, each ended by a form feed. With --json:\n"
         "  {\"page\",\"length\",\"text\"}, length in GB bytes; {\"pages\":[...]} for every page.",
         nullptr, "brindle text paper.pdf -p 2 --rect 0,0,300,200"},
        {"find", "the pages of a document that hold a word, and where",
         "find FILE TEXT\n"
         "  VYN, QD: tries TEXT as typed, in lower and upper case and in the full-width forms\n"
         "  of these, the first form found on each page counting. With --json:\n"
         "  {\"matches\":[{\"page\",\"count\",\"variant\"}],\"total\"}.\n"
         "  PDF, ZOR: finds TEXT whatever its case, full-width forms, Simplified or Traditional\n"
         "  characters and line breaks. With --json: {\"matches\":[{\"page\",\"count\",\n"
         "  \"boxes\"}],\"total\"}, a box [left,top,right,bottom] in points of the shown page\n"
         "  for each line of each place found. Exit status 1 when nothing is found.",
         runFind, "brindle find paper.vyn 国家"},
        {"stream", "the decoded data of one stream object of a PDF or ZOR file",
         "stream FILE OBJ\n"
         "  Writes the data of stream object OBJ, through its filters, to standard output.",
         runStream, "brindle stream paper.pdf 4 > page1.txt"},
        {"toc",
         "the table of contents of a VYN or QD document, the catalog of a ZOR file, or "
         "the outline of a PDF file",
         "toc FILE [--encoding utf8|native]\n"
         "  One line per entry, indented by level. With --json: {\"items\":[{\"level\","
         "\"page\",\"title\"}]}.\n"
         "  A PDF file, or a ZOR file without a catalog, gives its outline (titles in UTF-8\n"
         "  whatever --encoding says; page 0 for an entry that leads nowhere), its items with\n"
         "  \"open\" and, where the destination gives them, \"fit\", \"left\" and \"top\".",
         runToc, "brindle toc --json thesis.qd"},
        {"pack", "pack a PDF file into a ZOR file",
         "pack IN.pdf OUT.zor [--progress]\n"
         "  OUT.zor is replaced only when packing succeeds. --progress draws a bar on standard\n"
         "  error. With --json: {\"bytes\",\"file\"}.",
         runPack, "brindle pack paper.pdf paper.zor --progress"},
        {"unpack", "write the PDF file inside a ZOR file",
         "unpack IN.zor OUT.pdf\n"
         "  OUT.pdf is replaced only when unpacking succeeds. With --json: {\"bytes\",\"file\"}.",
         runUnpack, "brindle unpack paper.zor paper.pdf"},
        {"catalog", "read or write the catalog (table of contents) of a ZOR file",
         "catalog get FILE.zor\n"
         "catalog set FILE.zor TOC.json\n"
         "  get prints the catalog as toc does. set replaces it with the items of TOC.json,\n"
         "  written as toc --json writes them; titles are stored in GB2312.",
         runCatalog, "brindle catalog set paper.zor toc.json"},
        {"extract", "write a new PDF file of chosen pages of a PDF or ZOR file",
         "extract IN -p PAGES -o OUT.pdf\n"
         "  PAGES: page numbers and ranges from 1, in the order the new file takes them\n"
         "  (2,1,5-7); pages past the end of IN are skipped. OUT.pdf is replaced only when the\n"
         "  new file is complete; pages of an encrypted IN are written in the clear.\n"
         "  With --json: {\"file\",\"pages\"}.",
         runExtract, "brindle extract paper.zor -p 3,1-2 -o chosen.pdf"},
        {"convert", "convert Chinese text between GB2312, Big5 and UTF-8",
         "convert --from gb|big5 --to big5|gb|utf8\n"
         "  Reads standard input and writes the converted text to standard output.\n"
         "  GB2312 <-> Big5 keeps the length: bytes that form no character pass unchanged.",
         runConvert, "brindle convert --from gb --to utf8 < gb.txt > utf8.txt"},
    };
    return all;
}

}  // namespace brindle
