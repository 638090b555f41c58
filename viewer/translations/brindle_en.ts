<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Knowledge</name>
    <message>
        <source>没有选中要查询的知识点!</source>
        <translation>No knowledge term is selected to look up!</translation>
    </message>
    <message>
        <source>没有设置知识服务的地址，请在“服务器配置”中填写。</source>
        <translation>The knowledge service address is not set. Please enter it under “Server Settings”.</translation>
    </message>
    <message>
        <source>服务器地址须以 http:// 或 https:// 开头。</source>
        <translation>The server address must begin with http:// or https://.</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>打开(&amp;O)...	Ctrl+O</source>
        <translation>&amp;Open...	Ctrl+O</translation>
    </message>
    <message>
        <source>另存为(&amp;A)</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>打印(&amp;P)...	Ctrl+P</source>
        <translation>&amp;Print...	Ctrl+P</translation>
    </message>
    <message>
        <source>打印设置(&amp;R)...</source>
        <translation>P&amp;rint Setup...</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>复制(&amp;C)	Ctrl+C</source>
        <translation>&amp;Copy	Ctrl+C</translation>
    </message>
    <message>
        <source>复制位图</source>
        <translation>Copy Bitmap</translation>
    </message>
    <message>
        <source>查找(&amp;F)	Ctrl+F</source>
        <translation>&amp;Find...	Ctrl+F</translation>
    </message>
    <message>
        <source>全部选择	Ctrl+A</source>
        <translation>Select All	Ctrl+A</translation>
    </message>
    <message>
        <source>按区域取词	Ctrl+L</source>
        <translation>Select Text by Area	Ctrl+L</translation>
    </message>
    <message>
        <source>浏览(&amp;B)</source>
        <translation>&amp;Browse</translation>
    </message>
    <message>
        <source>首页	Ctrl+PageUp</source>
        <translation>First Page	Ctrl+PageUp</translation>
    </message>
    <message>
        <source>上一页	PageUp</source>
        <translation>Previous Page	PageUp</translation>
    </message>
    <message>
        <source>下一页	PageDown</source>
        <translation>Next Page	PageDown</translation>
    </message>
    <message>
        <source>末页	Ctrl+PageDown</source>
        <translation>Last Page	Ctrl+PageDown</translation>
    </message>
    <message>
        <source>到指定页面	Ctrl+G</source>
        <translation>Go to Page...	Ctrl+G</translation>
    </message>
    <message>
        <source>鼠标用于拖动</source>
        <translation>Use Mouse to Drag</translation>
    </message>
    <message>
        <source>鼠标用于选择</source>
        <translation>Use Mouse to Select</translation>
    </message>
    <message>
        <source>页面(&amp;P)</source>
        <translation>&amp;Page</translation>
    </message>
    <message>
        <source>放大	Ctrl++</source>
        <translation>Zoom In	Ctrl++</translation>
    </message>
    <message>
        <source>缩小	Ctrl+-</source>
        <translation>Zoom Out	Ctrl+-</translation>
    </message>
    <message>
        <source>指定比例	Ctrl+M</source>
        <translation>Set Zoom...	Ctrl+M</translation>
    </message>
    <message>
        <source>原始尺寸	Ctrl+0</source>
        <translation>Actual Size	Ctrl+0</translation>
    </message>
    <message>
        <source>适应窗口宽度	Ctrl+1</source>
        <translation>Fit Width	Ctrl+1</translation>
    </message>
    <message>
        <source>适应窗口高度	Ctrl+2</source>
        <translation>Fit Height	Ctrl+2</translation>
    </message>
    <message>
        <source>Chiese GB Menu</source>
        <translation>Chiese GB Menu</translation>
    </message>
    <message>
        <source>Chinese Big5 Menu</source>
        <translation>Chinese Big5 Menu</translation>
    </message>
    <message>
        <source>English Menu</source>
        <translation>English Menu</translation>
    </message>
    <message>
        <source>选项</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>显示图片</source>
        <translation>Show Pictures</translation>
    </message>
    <message>
        <source>简体中文</source>
        <translation>Simplified Chinese</translation>
    </message>
    <message>
        <source>繁体中文</source>
        <translation>Traditional Chinese</translation>
    </message>
    <message>
        <source>选择默认字体</source>
        <translation>Choose Default Font</translation>
    </message>
    <message>
        <source>设置背景颜色</source>
        <translation>Set Background Colour</translation>
    </message>
    <message>
        <source>查看(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>工具栏(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>状态栏(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>全屏幕(&amp;A)	Alt+Enter</source>
        <translation>&amp;Full Screen	Alt+Enter</translation>
    </message>
    <message>
        <source>窗口(&amp;W)</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>层叠(&amp;C)</source>
        <translation>&amp;Cascade</translation>
    </message>
    <message>
        <source>平铺(&amp;T)</source>
        <translation>&amp;Tile</translation>
    </message>
    <message>
        <source>排列图标(&amp;A)</source>
        <translation>&amp;Arrange Icons</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>帮助主题</source>
        <translation>Help Topics</translation>
    </message>
    <message>
        <source>关于VYN文件浏览器(&amp;A)...</source>
        <translation>&amp;About VYN File Viewer...</translation>
    </message>
    <message>
        <source>复制	Ctrl+C</source>
        <translation>Copy	Ctrl+C</translation>
    </message>
    <message>
        <source>全选	Ctrl+A</source>
        <translation>Select All	Ctrl+A</translation>
    </message>
    <message>
        <source>查找	Ctrl+F</source>
        <translation>Find...	Ctrl+F</translation>
    </message>
    <message>
        <source>知识网络服务(&amp;s)</source>
        <translation>Knowledge &amp;Services</translation>
    </message>
    <message>
        <source>知识查询</source>
        <translation>Knowledge Search</translation>
    </message>
    <message>
        <source>服务器配置</source>
        <translation>Server Settings...</translation>
    </message>
</context>
<context>
    <name>PageDialogs</name>
    <message>
        <source>输入错误!请重新输入.</source>
        <translation>Invalid entry! Please try again.</translation>
    </message>
    <message>
        <source>请键入一个整数。</source>
        <translation>Please enter a whole number.</translation>
    </message>
</context>
<context>
    <name>Printing</name>
    <message>
        <source>无法打印。</source>
        <translation>Cannot print.</translation>
    </message>
</context>
<context>
    <name>Prompt</name>
    <message>
        <source>放大页面比例
放大</source>
        <translation>Increase the page zoom
Zoom In</translation>
    </message>
    <message>
        <source>缩小页面比例
缩小</source>
        <translation>Decrease the page zoom
Zoom Out</translation>
    </message>
    <message>
        <source>翻到下一页
下一页</source>
        <translation>Go to the next page
Next Page</translation>
    </message>
    <message>
        <source>翻到前一页
上一页</source>
        <translation>Go to the previous page
Previous Page</translation>
    </message>
    <message>
        <source>翻页到文章首页
首页</source>
        <translation>Go to the first page of the article
First Page</translation>
    </message>
    <message>
        <source>翻页到文章最后一页
末页</source>
        <translation>Go to the last page of the article
Last Page</translation>
    </message>
    <message>
        <source>指定大小
指定大小</source>
        <translation>Set the zoom percentage
Set Zoom</translation>
    </message>
    <message>
        <source>指定页面
指定页面</source>
        <translation>Go to a chosen page
Go to Page</translation>
    </message>
    <message>
        <source>用页面原始尺寸显示
原始尺寸</source>
        <translation>Show the page at its actual size
Actual Size</translation>
    </message>
    <message>
        <source>适应窗口宽度
适应窗口宽度</source>
        <translation>Fit the page to the window width
Fit Width</translation>
    </message>
    <message>
        <source>适应窗口高度
适应窗口高度</source>
        <translation>Fit the page to the window height
Fit Height</translation>
    </message>
    <message>
        <source>拖动页面
拖动</source>
        <translation>Drag the page with the mouse
Drag</translation>
    </message>
    <message>
        <source>选择文字
选择</source>
        <translation>Select text with the mouse
Select</translation>
    </message>
    <message>
        <source>选择页面内全部文字
全选</source>
        <translation>Select all the text on the page
Select All</translation>
    </message>
    <message>
        <source>退出程序
退出</source>
        <translation>Exit the program
Exit</translation>
    </message>
    <message>
        <source>将选中的区域作为位图保存到剪切板
复制位图</source>
        <translation>Copy the selected area to the clipboard as a bitmap
Copy Bitmap</translation>
    </message>
    <message>
        <source>切换简体中文显示方式
简体中文</source>
        <translation>Show the page text in Simplified Chinese
Simplified Chinese</translation>
    </message>
    <message>
        <source>切换到繁体中文显示
繁体中文</source>
        <translation>Show the page text in Traditional Chinese
Traditional Chinese</translation>
    </message>
    <message>
        <source>显示页面时显示图片
显示图片</source>
        <translation>Show pictures when displaying pages
Show Pictures</translation>
    </message>
    <message>
        <source>选择字体作为默认的显示字库
选取字库</source>
        <translation>Choose the default font for displaying text
Choose Font</translation>
    </message>
    <message>
        <source>设置背景颜色
设置背景颜色</source>
        <translation>Set the page background colour
Set Background Colour</translation>
    </message>
    <message>
        <source>取词模式为按区域取词
按区域取词</source>
        <translation>Select the text inside a marked area
Select Text by Area</translation>
    </message>
    <message>
        <source>English
English</source>
        <translation>English
English</translation>
    </message>
    <message>
        <source>Chinese Big5
Chinese Big5</source>
        <translation>Chinese Big5
Chinese Big5</translation>
    </message>
    <message>
        <source>Chiese GB
Chiese GB</source>
        <translation>Chiese GB
Chiese GB</translation>
    </message>
    <message>
        <source>从KELN全文检索服务查询知识
从KELN全文检索服务查询知识</source>
        <translation>Look up knowledge in the KELN full-text search service
KELN Knowledge Search</translation>
    </message>
    <message>
        <source>服务器基本参数配置
服务器基本参数配置</source>
        <translation>Configure the basic server settings
Server Settings</translation>
    </message>
    <message>
        <source>打开一个现有文档
打开</source>
        <translation>Open an existing document
Open</translation>
    </message>
    <message>
        <source>关闭活动文档
关闭</source>
        <translation>Close the active document
Close</translation>
    </message>
    <message>
        <source>将活动文档另存一份
另存为</source>
        <translation>Save a copy of the active document
Save As</translation>
    </message>
    <message>
        <source>打印活动文档
打印</source>
        <translation>Print the active document
Print</translation>
    </message>
    <message>
        <source>更改打印机和打印选项
打印设置</source>
        <translation>Change the printer and printing options
Print Setup</translation>
    </message>
    <message>
        <source>退出应用程序
退出</source>
        <translation>Quit the application
Exit</translation>
    </message>
    <message>
        <source>复制选定内容并将其放到剪贴板上
复制</source>
        <translation>Copy the selection to the clipboard
Copy</translation>
    </message>
    <message>
        <source>查找指定的文本
查找</source>
        <translation>Find text on the pages
Find</translation>
    </message>
    <message>
        <source>显示或隐藏工具栏
显隐工具栏</source>
        <translation>Show or hide the toolbar
Toggle Toolbar</translation>
    </message>
    <message>
        <source>显示或隐藏状态栏
显隐状态栏</source>
        <translation>Show or hide the status bar
Toggle Status Bar</translation>
    </message>
    <message>
        <source>以全屏幕方式显示页面
全屏幕</source>
        <translation>Show the page in full screen
Full Screen</translation>
    </message>
    <message>
        <source>以重叠方式排列窗口
层叠窗口</source>
        <translation>Arrange windows so they overlap
Cascade Windows</translation>
    </message>
    <message>
        <source>以不重叠的平铺方式排列窗口
平铺窗口</source>
        <translation>Arrange windows as non-overlapping tiles
Tile Windows</translation>
    </message>
    <message>
        <source>在窗口底部排列图标
排列图标</source>
        <translation>Arrange icons at the bottom of the window
Arrange Icons</translation>
    </message>
    <message>
        <source>列出帮助主题
帮助主题</source>
        <translation>List the help topics
Help Topics</translation>
    </message>
    <message>
        <source>显示程序信息、版本号和版权
关于</source>
        <translation>Show program information, version number and copyright
About</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>SaveAs</name>
    <message>
        <source>文件已存在：%1</source>
        <translation>The file already exists: %1</translation>
    </message>
    <message>
        <source>无法保存到：%1</source>
        <translation>Cannot save to: %1</translation>
    </message>
</context>
<context>
    <name>viewer::AboutDialog</name>
    <message>
        <source>关于VYN文件浏览器</source>
        <translation>About VYN File Viewer</translation>
    </message>
    <message>
        <source>BrindleViewer：VYN/QD 与 PDF/ZOR 文件浏览器</source>
        <translation>BrindleViewer: VYN/QD and PDF/ZOR File Viewer</translation>
    </message>
    <message>
        <source>中文期刊论文与学位论文的阅读器</source>
        <translation>A reader for Chinese journal articles and theses</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>viewer::FindDialog</name>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>向前查找</source>
        <translation>Find Previous</translation>
    </message>
    <message>
        <source>向后查找</source>
        <translation>Find Next</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>输入要查找的文字:</source>
        <translation>Enter the text to find:</translation>
    </message>
    <message>
        <source>要查找的文字中有页面文字无法表示的字符。</source>
        <translation>The search text contains characters that the page text cannot represent.</translation>
    </message>
    <message>
        <source>要查找的文字太长，请缩短后再查找。</source>
        <translation>The search text is too long. Please shorten it and search again.</translation>
    </message>
    <message>
        <source>正在查找第 %1/%2 页</source>
        <translation>Searching page %1/%2</translation>
    </message>
</context>
<context>
    <name>viewer::GotoPageDialog</name>
    <message>
        <source>到指定页</source>
        <translation>Go to Page</translation>
    </message>
    <message>
        <source>共有页面</source>
        <translation>The document has</translation>
    </message>
    <message>
        <source>页</source>
        <translation>pages</translation>
    </message>
    <message>
        <source>页码</source>
        <translation>Page number</translation>
    </message>
</context>
<context>
    <name>viewer::MainWindow</name>
    <message>
        <source>就绪</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>BrindleViewer</source>
        <translation>BrindleViewer</translation>
    </message>
    <message>
        <source>打开此文档</source>
        <translation>Open this document</translation>
    </message>
    <message>
        <source>建立空文档失败。</source>
        <translation>Could not create an empty document.</translation>
    </message>
    <message>
        <source>无法打开文件：%1</source>
        <translation>Cannot open the file: %1</translation>
    </message>
    <message>
        <source>无法读取界面语言文件 %1.qm，界面语言保持不变。</source>
        <translation>Cannot read the interface language file %1.qm; the interface language stays unchanged.</translation>
    </message>
    <message>
        <source>VynFiles(*.vyn *.qd);;Zor 文件 (*.zor);;PDF (*.pdf);;所有文件 (*)</source>
        <translation>VynFiles(*.vyn *.qd);;Zor Files (*.zor);;PDF (*.pdf);;All Files (*)</translation>
    </message>
    <message>
        <source>密码错误。请重新输入“%1”的密码：</source>
        <translation>The password is wrong. Enter the password of “%1” again:</translation>
    </message>
    <message>
        <source>“%1”受密码保护。请输入密码：</source>
        <translation>“%1” is protected by a password. Enter the password:</translation>
    </message>
</context>
<context>
    <name>viewer::ServerDialog</name>
    <message>
        <source>服务器配置</source>
        <translation>Server Settings</translation>
    </message>
    <message>
        <source>服务器地址</source>
        <translation>Server Address</translation>
    </message>
    <message>
        <source>“请填入不多于%1个的字符。”</source>
        <translation>“Please enter no more than %1 characters.”</translation>
    </message>
</context>
<context>
    <name>viewer::VynView</name>
    <message>
        <source>当前页面:</source>
        <translation>Page: </translation>
    </message>
    <message>
        <source>页面缩放比例为:</source>
        <translation>Zoom: </translation>
    </message>
    <message>
        <source>输入错误!请重新输入.</source>
        <translation>Invalid entry! Please try again.</translation>
    </message>
    <message>
        <source>VYN File (*.vyn)</source>
        <translation>VYN File (*.vyn)</translation>
    </message>
</context>
<context>
    <name>viewer::ZoomDialog</name>
    <message>
        <source>指定大小</source>
        <translation>Set Zoom</translation>
    </message>
    <message>
        <source>输入指定的缩放百分比:</source>
        <translation>Enter the zoom percentage:</translation>
    </message>
</context>
<context>
    <name>viewer::ZorView</name>
    <message>
        <source>当前页面:</source>
        <translation>Page: </translation>
    </message>
    <message>
        <source>页面缩放比例为:</source>
        <translation>Zoom: </translation>
    </message>
    <message>
        <source>输入错误!请重新输入.</source>
        <translation>Invalid entry! Please try again.</translation>
    </message>
    <message>
        <source>Zor File (*.zor)</source>
        <translation>Zor File (*.zor)</translation>
    </message>
</context>
</TS>
