<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="zh_CN">
<context>
    <name>Knowledge</name>
    <message>
        <source>没有选中要查询的知识点!</source>
        <translation>沒有選取要查詢的知識點!</translation>
    </message>
    <message>
        <source>没有设置知识服务的地址，请在“服务器配置”中填写。</source>
        <translation>沒有設定知識服務的位址，請在「伺服器設定」中填寫。</translation>
    </message>
    <message>
        <source>服务器地址须以 http:// 或 https:// 开头。</source>
        <translation>伺服器位址須以 http:// 或 https:// 開頭。</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>文件(&amp;F)</source>
        <translation>檔案(&amp;F)</translation>
    </message>
    <message>
        <source>打开(&amp;O)...	Ctrl+O</source>
        <translation>開啟(&amp;O)...	Ctrl+O</translation>
    </message>
    <message>
        <source>另存为(&amp;A)</source>
        <translation>另存新檔(&amp;A)</translation>
    </message>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>關閉(&amp;C)</translation>
    </message>
    <message>
        <source>打印(&amp;P)...	Ctrl+P</source>
        <translation>列印(&amp;P)...	Ctrl+P</translation>
    </message>
    <message>
        <source>打印设置(&amp;R)...</source>
        <translation>列印設定(&amp;R)...</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>結束(&amp;X)</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>編輯(&amp;E)</translation>
    </message>
    <message>
        <source>复制(&amp;C)	Ctrl+C</source>
        <translation>複製(&amp;C)	Ctrl+C</translation>
    </message>
    <message>
        <source>复制位图</source>
        <translation>複製點陣圖</translation>
    </message>
    <message>
        <source>查找(&amp;F)	Ctrl+F</source>
        <translation>尋找(&amp;F)	Ctrl+F</translation>
    </message>
    <message>
        <source>全部选择	Ctrl+A</source>
        <translation>全部選取	Ctrl+A</translation>
    </message>
    <message>
        <source>按区域取词	Ctrl+L</source>
        <translation>依區域取詞	Ctrl+L</translation>
    </message>
    <message>
        <source>浏览(&amp;B)</source>
        <translation>瀏覽(&amp;B)</translation>
    </message>
    <message>
        <source>首页	Ctrl+PageUp</source>
        <translation>第一頁	Ctrl+PageUp</translation>
    </message>
    <message>
        <source>上一页	PageUp</source>
        <translation>上一頁	PageUp</translation>
    </message>
    <message>
        <source>下一页	PageDown</source>
        <translation>下一頁	PageDown</translation>
    </message>
    <message>
        <source>末页	Ctrl+PageDown</source>
        <translation>最後一頁	Ctrl+PageDown</translation>
    </message>
    <message>
        <source>到指定页面	Ctrl+G</source>
        <translation>移至指定頁面	Ctrl+G</translation>
    </message>
    <message>
        <source>鼠标用于拖动</source>
        <translation>滑鼠用於拖曳</translation>
    </message>
    <message>
        <source>鼠标用于选择</source>
        <translation>滑鼠用於選取</translation>
    </message>
    <message>
        <source>页面(&amp;P)</source>
        <translation>頁面(&amp;P)</translation>
    </message>
    <message>
        <source>放大	Ctrl++</source>
        <translation>放大	Ctrl++</translation>
    </message>
    <message>
        <source>缩小	Ctrl+-</source>
        <translation>縮小	Ctrl+-</translation>
    </message>
    <message>
        <source>指定比例	Ctrl+M</source>
        <translation>指定比例	Ctrl+M</translation>
    </message>
    <message>
        <source>原始尺寸	Ctrl+0</source>
        <translation>原始大小	Ctrl+0</translation>
    </message>
    <message>
        <source>适应窗口宽度	Ctrl+1</source>
        <translation>符合視窗寬度	Ctrl+1</translation>
    </message>
    <message>
        <source>适应窗口高度	Ctrl+2</source>
        <translation>符合視窗高度	Ctrl+2</translation>
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
        <translation>選項</translation>
    </message>
    <message>
        <source>显示图片</source>
        <translation>顯示圖片</translation>
    </message>
    <message>
        <source>简体中文</source>
        <translation>簡體中文</translation>
    </message>
    <message>
        <source>繁体中文</source>
        <translation>繁體中文</translation>
    </message>
    <message>
        <source>选择默认字体</source>
        <translation>選擇預設字型</translation>
    </message>
    <message>
        <source>设置背景颜色</source>
        <translation>設定背景顏色</translation>
    </message>
    <message>
        <source>查看(&amp;V)</source>
        <translation>檢視(&amp;V)</translation>
    </message>
    <message>
        <source>工具栏(&amp;T)</source>
        <translation>工具列(&amp;T)</translation>
    </message>
    <message>
        <source>状态栏(&amp;S)</source>
        <translation>狀態列(&amp;S)</translation>
    </message>
    <message>
        <source>全屏幕(&amp;A)	Alt+Enter</source>
        <translation>全螢幕(&amp;A)	Alt+Enter</translation>
    </message>
    <message>
        <source>窗口(&amp;W)</source>
        <translation>視窗(&amp;W)</translation>
    </message>
    <message>
        <source>层叠(&amp;C)</source>
        <translation>重疊顯示(&amp;C)</translation>
    </message>
    <message>
        <source>平铺(&amp;T)</source>
        <translation>並排顯示(&amp;T)</translation>
    </message>
    <message>
        <source>排列图标(&amp;A)</source>
        <translation>排列圖示(&amp;A)</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>說明(&amp;H)</translation>
    </message>
    <message>
        <source>帮助主题</source>
        <translation>說明主題</translation>
    </message>
    <message>
        <source>关于VYN文件浏览器(&amp;A)...</source>
        <translation>關於VYN檔案瀏覽器(&amp;A)...</translation>
    </message>
    <message>
        <source>复制	Ctrl+C</source>
        <translation>複製	Ctrl+C</translation>
    </message>
    <message>
        <source>全选	Ctrl+A</source>
        <translation>全選	Ctrl+A</translation>
    </message>
    <message>
        <source>查找	Ctrl+F</source>
        <translation>尋找	Ctrl+F</translation>
    </message>
    <message>
        <source>知识网络服务(&amp;s)</source>
        <translation>知識網路服務(&amp;s)</translation>
    </message>
    <message>
        <source>知识查询</source>
        <translation>知識查詢</translation>
    </message>
    <message>
        <source>服务器配置</source>
        <translation>伺服器設定</translation>
    </message>
</context>
<context>
    <name>PageDialogs</name>
    <message>
        <source>输入错误!请重新输入.</source>
        <translation>輸入錯誤!請重新輸入.</translation>
    </message>
    <message>
        <source>请键入一个整数。</source>
        <translation>請鍵入一個整數。</translation>
    </message>
</context>
<context>
    <name>Printing</name>
    <message>
        <source>无法打印。</source>
        <translation>無法列印。</translation>
    </message>
</context>
<context>
    <name>Prompt</name>
    <message>
        <source>放大页面比例
放大</source>
        <translation>放大頁面比例
放大</translation>
    </message>
    <message>
        <source>缩小页面比例
缩小</source>
        <translation>縮小頁面比例
縮小</translation>
    </message>
    <message>
        <source>翻到下一页
下一页</source>
        <translation>翻到下一頁
下一頁</translation>
    </message>
    <message>
        <source>翻到前一页
上一页</source>
        <translation>翻到前一頁
上一頁</translation>
    </message>
    <message>
        <source>翻页到文章首页
首页</source>
        <translation>翻到文章第一頁
第一頁</translation>
    </message>
    <message>
        <source>翻页到文章最后一页
末页</source>
        <translation>翻到文章最後一頁
最後一頁</translation>
    </message>
    <message>
        <source>指定大小
指定大小</source>
        <translation>指定大小
指定大小</translation>
    </message>
    <message>
        <source>指定页面
指定页面</source>
        <translation>指定頁面
指定頁面</translation>
    </message>
    <message>
        <source>用页面原始尺寸显示
原始尺寸</source>
        <translation>以頁面原始大小顯示
原始大小</translation>
    </message>
    <message>
        <source>适应窗口宽度
适应窗口宽度</source>
        <translation>符合視窗寬度
符合視窗寬度</translation>
    </message>
    <message>
        <source>适应窗口高度
适应窗口高度</source>
        <translation>符合視窗高度
符合視窗高度</translation>
    </message>
    <message>
        <source>拖动页面
拖动</source>
        <translation>拖曳頁面
拖曳</translation>
    </message>
    <message>
        <source>选择文字
选择</source>
        <translation>選取文字
選取</translation>
    </message>
    <message>
        <source>选择页面内全部文字
全选</source>
        <translation>選取頁面內全部文字
全選</translation>
    </message>
    <message>
        <source>退出程序
退出</source>
        <translation>結束程式
結束</translation>
    </message>
    <message>
        <source>将选中的区域作为位图保存到剪切板
复制位图</source>
        <translation>將選取的區域以點陣圖複製到剪貼簿
複製點陣圖</translation>
    </message>
    <message>
        <source>切换简体中文显示方式
简体中文</source>
        <translation>切換為簡體中文顯示方式
簡體中文</translation>
    </message>
    <message>
        <source>切换到繁体中文显示
繁体中文</source>
        <translation>切換為繁體中文顯示
繁體中文</translation>
    </message>
    <message>
        <source>显示页面时显示图片
显示图片</source>
        <translation>顯示頁面時顯示圖片
顯示圖片</translation>
    </message>
    <message>
        <source>选择字体作为默认的显示字库
选取字库</source>
        <translation>選擇字型作為預設的顯示字型
選取字型</translation>
    </message>
    <message>
        <source>设置背景颜色
设置背景颜色</source>
        <translation>設定背景顏色
設定背景顏色</translation>
    </message>
    <message>
        <source>取词模式为按区域取词
按区域取词</source>
        <translation>取詞模式為依區域取詞
依區域取詞</translation>
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
        <translation>從KELN全文檢索服務查詢知識
從KELN全文檢索服務查詢知識</translation>
    </message>
    <message>
        <source>服务器基本参数配置
服务器基本参数配置</source>
        <translation>伺服器基本參數設定
伺服器基本參數設定</translation>
    </message>
    <message>
        <source>打开一个现有文档
打开</source>
        <translation>開啟現有的文件
開啟</translation>
    </message>
    <message>
        <source>关闭活动文档
关闭</source>
        <translation>關閉使用中的文件
關閉</translation>
    </message>
    <message>
        <source>将活动文档另存一份
另存为</source>
        <translation>將使用中的文件另存一份
另存新檔</translation>
    </message>
    <message>
        <source>打印活动文档
打印</source>
        <translation>列印使用中的文件
列印</translation>
    </message>
    <message>
        <source>更改打印机和打印选项
打印设置</source>
        <translation>變更印表機和列印選項
列印設定</translation>
    </message>
    <message>
        <source>退出应用程序
退出</source>
        <translation>結束應用程式
結束</translation>
    </message>
    <message>
        <source>复制选定内容并将其放到剪贴板上
复制</source>
        <translation>複製選取的內容並將其放到剪貼簿上
複製</translation>
    </message>
    <message>
        <source>查找指定的文本
查找</source>
        <translation>尋找指定的文字
尋找</translation>
    </message>
    <message>
        <source>显示或隐藏工具栏
显隐工具栏</source>
        <translation>顯示或隱藏工具列
顯示/隱藏工具列</translation>
    </message>
    <message>
        <source>显示或隐藏状态栏
显隐状态栏</source>
        <translation>顯示或隱藏狀態列
顯示/隱藏狀態列</translation>
    </message>
    <message>
        <source>以全屏幕方式显示页面
全屏幕</source>
        <translation>以全螢幕方式顯示頁面
全螢幕</translation>
    </message>
    <message>
        <source>以重叠方式排列窗口
层叠窗口</source>
        <translation>以重疊方式排列視窗
重疊顯示視窗</translation>
    </message>
    <message>
        <source>以不重叠的平铺方式排列窗口
平铺窗口</source>
        <translation>以不重疊的並排方式排列視窗
並排顯示視窗</translation>
    </message>
    <message>
        <source>在窗口底部排列图标
排列图标</source>
        <translation>在視窗底部排列圖示
排列圖示</translation>
    </message>
    <message>
        <source>列出帮助主题
帮助主题</source>
        <translation>列出說明主題
說明主題</translation>
    </message>
    <message>
        <source>显示程序信息、版本号和版权
关于</source>
        <translation>顯示程式資訊、版本號碼和著作權
關於</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>SaveAs</name>
    <message>
        <source>文件已存在：%1</source>
        <translation>檔案已存在：%1</translation>
    </message>
    <message>
        <source>无法保存到：%1</source>
        <translation>無法儲存到：%1</translation>
    </message>
</context>
<context>
    <name>viewer::AboutDialog</name>
    <message>
        <source>关于VYN文件浏览器</source>
        <translation>關於VYN檔案瀏覽器</translation>
    </message>
    <message>
        <source>BrindleViewer：VYN/QD 与 PDF/ZOR 文件浏览器</source>
        <translation>BrindleViewer：VYN/QD 與 PDF/ZOR 檔案瀏覽器</translation>
    </message>
    <message>
        <source>中文期刊论文与学位论文的阅读器</source>
        <translation>中文期刊論文與學位論文的閱讀器</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>確定</translation>
    </message>
</context>
<context>
    <name>viewer::FindDialog</name>
    <message>
        <source>查找</source>
        <translation>尋找</translation>
    </message>
    <message>
        <source>向前查找</source>
        <translation>向前尋找</translation>
    </message>
    <message>
        <source>向后查找</source>
        <translation>向後尋找</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>输入要查找的文字:</source>
        <translation>輸入要尋找的文字:</translation>
    </message>
    <message>
        <source>要查找的文字中有页面文字无法表示的字符。</source>
        <translation>要尋找的文字中有頁面文字無法表示的字元。</translation>
    </message>
    <message>
        <source>要查找的文字太长，请缩短后再查找。</source>
        <translation>要尋找的文字太長，請縮短後再尋找。</translation>
    </message>
    <message>
        <source>正在查找第 %1/%2 页</source>
        <translation>正在尋找第 %1/%2 頁</translation>
    </message>
</context>
<context>
    <name>viewer::GotoPageDialog</name>
    <message>
        <source>到指定页</source>
        <translation>移至指定頁</translation>
    </message>
    <message>
        <source>共有页面</source>
        <translation>共有頁面</translation>
    </message>
    <message>
        <source>页</source>
        <translation>頁</translation>
    </message>
    <message>
        <source>页码</source>
        <translation>頁碼</translation>
    </message>
</context>
<context>
    <name>viewer::MainWindow</name>
    <message>
        <source>就绪</source>
        <translation>就緒</translation>
    </message>
    <message>
        <source>BrindleViewer</source>
        <translation>BrindleViewer</translation>
    </message>
    <message>
        <source>打开此文档</source>
        <translation>開啟此文件</translation>
    </message>
    <message>
        <source>建立空文档失败。</source>
        <translation>建立空白文件失敗。</translation>
    </message>
    <message>
        <source>无法打开文件：%1</source>
        <translation>無法開啟檔案：%1</translation>
    </message>
    <message>
        <source>无法读取界面语言文件 %1.qm，界面语言保持不变。</source>
        <translation>無法讀取介面語言檔案 %1.qm，介面語言維持不變。</translation>
    </message>
    <message>
        <source>VynFiles(*.vyn *.qd);;Zor 文件 (*.zor);;PDF (*.pdf);;所有文件 (*)</source>
        <translation>VynFiles(*.vyn *.qd);;Zor 檔案 (*.zor);;PDF (*.pdf);;所有檔案 (*)</translation>
    </message>
    <message>
        <source>密码错误。请重新输入“%1”的密码：</source>
        <translation>密碼錯誤。請重新輸入「%1」的密碼：</translation>
    </message>
    <message>
        <source>“%1”受密码保护。请输入密码：</source>
        <translation>「%1」受密碼保護。請輸入密碼：</translation>
    </message>
</context>
<context>
    <name>viewer::ServerDialog</name>
    <message>
        <source>服务器配置</source>
        <translation>伺服器設定</translation>
    </message>
    <message>
        <source>服务器地址</source>
        <translation>伺服器位址</translation>
    </message>
    <message>
        <source>“请填入不多于%1个的字符。”</source>
        <translation>「請填入不多於%1個的字元。」</translation>
    </message>
</context>
<context>
    <name>viewer::VynView</name>
    <message>
        <source>当前页面:</source>
        <translation>目前頁面:</translation>
    </message>
    <message>
        <source>页面缩放比例为:</source>
        <translation>頁面縮放比例為:</translation>
    </message>
    <message>
        <source>输入错误!请重新输入.</source>
        <translation>輸入錯誤!請重新輸入.</translation>
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
        <translation>指定大小</translation>
    </message>
    <message>
        <source>输入指定的缩放百分比:</source>
        <translation>輸入指定的縮放百分比:</translation>
    </message>
</context>
<context>
    <name>viewer::ZorView</name>
    <message>
        <source>当前页面:</source>
        <translation>目前頁面:</translation>
    </message>
    <message>
        <source>页面缩放比例为:</source>
        <translation>頁面縮放比例為:</translation>
    </message>
    <message>
        <source>输入错误!请重新输入.</source>
        <translation>輸入錯誤!請重新輸入.</translation>
    </message>
    <message>
        <source>Zor File (*.zor)</source>
        <translation>Zor File (*.zor)</translation>
    </message>
</context>
</TS>
