<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>MainWindow</name>
    <message>
        <source>Quelmar</source>
        <translation>Quelmar</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>New</source>
        <translation>新建</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>断开</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>machine parameter</source>
        <translation>机器参数</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>about</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Chart</source>
        <translation>图表</translation>
    </message>
    <message>
        <source>Force</source>
        <translation>力值</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>位移</translation>
    </message>
    <message>
        <source>Test Mode</source>
        <translation>测试模式</translation>
    </message>
    <message>
        <source>Zero</source>
        <translation>清零</translation>
    </message>
    <message>
        <source>Curve</source>
        <translation>曲线</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>上</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>单位</translation>
    </message>
    <message>
        <source>Distance Zero</source>
        <translation>位移清零</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>下</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Axis Set</source>
        <translation>坐标设置</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>进程</translation>
    </message>
    <message>
        <source>Return</source>
        <translation>返程</translation>
    </message>
    <message>
        <source>Quelmar Ver %1</source>
        <translation>Quelmar Ver %1</translation>
    </message>
    <message>
        <source>Quelmar - simulated stand</source>
        <translation>Quelmar - 模拟试验机</translation>
    </message>
    <message>
        <source>COM open failed</source>
        <translation>串口打开失败</translation>
    </message>
    <message>
        <source>%1,%2,%3,%4,%5,success</source>
        <translation>%1,%2,%3,%4,%5,连接成功</translation>
    </message>
    <message>
        <source>%1 close</source>
        <translation>%1 断开</translation>
    </message>
    <message>
        <source>Type-%1</source>
        <translation>型号-%1</translation>
    </message>
    <message>
        <source>Force %1</source>
        <translation>力值 %1</translation>
    </message>
    <message>
        <source>Real Time</source>
        <translation>实时</translation>
    </message>
    <message>
        <source>Peak</source>
        <translation>峰值</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Please close the serial port!</source>
        <translation>请关闭串口!</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>信息</translation>
    </message>
    <message>
        <source>The graph has no data!</source>
        <translation>图表中没有数据!</translation>
    </message>
    <message>
        <source>Could not open %1:
%2</source>
        <translation>无法打开 %1:
%2</translation>
    </message>
    <message>
        <source>%1 holds no test data.</source>
        <translation>%1 中没有测试数据。</translation>
    </message>
    <message>
        <source>Points loaded: %1.</source>
        <translation>已加载 %1 个点。</translation>
    </message>
    <message>
        <source>Points loaded: %1. Lines skipped: %2, the first is line %3.</source>
        <translation>已加载 %1 个点。跳过 %2 行无法读取的内容,第一处在第 %3 行。</translation>
    </message>
    <message>
        <source>Could not save %1:
%2</source>
        <translation>无法保存 %1:
%2</translation>
    </message>
    <message>
        <source>%1 cannot be exported: the chart is exported as .jpg, .bmp or .pdf only.</source>
        <translation>无法导出 %1: 图表只能导出为 .jpg、.bmp 或 .pdf 文件。</translation>
    </message>
    <message>
        <source>Could not export the chart to %1.</source>
        <translation>无法将图表导出到 %1。</translation>
    </message>
    <message>
        <source>Controller not answering</source>
        <translation>控制器无应答</translation>
    </message>
    <message>
        <source>Store as record</source>
        <translation>存为记录</translation>
    </message>
    <message>
        <source>Test records</source>
        <translation>测试记录</translation>
    </message>
    <message>
        <source>Records database</source>
        <translation>记录数据库</translation>
    </message>
    <message>
        <source>Record %1: sample %2, %3 points.</source>
        <translation>记录 %1：样品 %2，%3 个点。</translation>
    </message>
    <message>
        <source>Records are off: choose a records database first.</source>
        <translation>记录已关闭：请先选择记录数据库。</translation>
    </message>
    <message>
        <source>%1 is stored as a record.</source>
        <translation>%1 已存为记录。</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 已存在。
要替换它吗？</translation>
    </message>
    <message>
        <source>It is a named pipe, not a file.</source>
        <translation>这是一个命名管道，不是文件。</translation>
    </message>
    <message>
        <source>It is a device, not a file.</source>
        <translation>这是一个设备，不是文件。</translation>
    </message>
    <message>
        <source>It is a socket, not a file.</source>
        <translation>这是一个套接字，不是文件。</translation>
    </message>
    <message>
        <source>It is a folder, not a file.</source>
        <translation>这是一个文件夹，不是文件。</translation>
    </message>
    <message>
        <source>It is not a regular file.</source>
        <translation>这不是普通文件。</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 分 %2 秒</translation>
    </message>
    <message>
        <source>Test running: %1</source>
        <translation>测试进行中: %1</translation>
    </message>
    <message>
        <source>Test running: %1, %2</source>
        <translation>测试进行中: %1, %2</translation>
    </message>
    <message>
        <source>Test finished after %1</source>
        <translation>测试完成，用时 %1</translation>
    </message>
    <message>
        <source>Test stopped after %1</source>
        <translation>测试已停止，用时 %1</translation>
    </message>
    <message>
        <source>1 curve read failed during this test; points may be missing.</source>
        <translation>本次测试中有 1 次曲线读取失败，可能缺少数据点。</translation>
    </message>
    <message>
        <source>%1 curve reads failed during this test; points may be missing.</source>
        <translation>本次测试中有 %1 次曲线读取失败，可能缺少数据点。</translation>
    </message>
    <message>
        <source>1 point without a valid force or distance was left out.</source>
        <translation>1 个力值或位移无效的数据点已被舍弃。</translation>
    </message>
    <message>
        <source>%1 points without a valid force or distance were left out.</source>
        <translation>%1 个力值或位移无效的数据点已被舍弃。</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>确认</translation>
    </message>
    <message>
        <source>Switch the stand's display between real-time and peak force</source>
        <translation>切换试验机显示：实时或峰值</translation>
    </message>
    <message>
        <source>Set the force reading to zero</source>
        <translation>力值清零</translation>
    </message>
    <message>
        <source>Record the curve while jogging with Up and Down</source>
        <translation>用“上”“下”点动时记录曲线</translation>
    </message>
    <message>
        <source>Move the head up; with Curve checked, record the curve</source>
        <translation>向上移动；勾选“曲线”时记录曲线</translation>
    </message>
    <message>
        <source>Start a test with the settings made with the chart button</source>
        <translation>按图表按钮中的设置开始测试</translation>
    </message>
    <message>
        <source>Clear the chart</source>
        <translation>清空图表</translation>
    </message>
    <message>
        <source>Switch the force unit: N, kg, lb</source>
        <translation>切换力值单位：N、kg、lb</translation>
    </message>
    <message>
        <source>Set the distance reading to zero</source>
        <translation>位移清零</translation>
    </message>
    <message>
        <source>Switch the stand's auto mode</source>
        <translation>切换试验机的自动模式</translation>
    </message>
    <message>
        <source>Move the head down; with Curve checked, record the curve</source>
        <translation>向下移动；勾选“曲线”时记录曲线</translation>
    </message>
    <message>
        <source>Stop the test or the jog (Esc)</source>
        <translation>停止测试或点动 (Esc)</translation>
    </message>
    <message>
        <source>Set the ranges and directions of the chart's axes</source>
        <translation>设置图表坐标轴的范围和方向</translation>
    </message>
    <message>
        <source>Bring back the chart's ranges from before dragging or zooming; double-click the chart to show it full screen</source>
        <translation>恢复拖动或缩放前的图表范围；双击图表可全屏显示</translation>
    </message>
    <message>
        <source>Reset zoom</source>
        <translation>恢复缩放</translation>
    </message>
    <message>
        <source>Show the forward stroke</source>
        <translation>显示进程曲线</translation>
    </message>
    <message>
        <source>Show the return stroke</source>
        <translation>显示返程曲线</translation>
    </message>
    <message>
        <source>A test is running. Stop it and disconnect?</source>
        <translation>测试正在进行。停止测试并断开连接？</translation>
    </message>
    <message>
        <source>A test is running. Stop it and close Quelmar?</source>
        <translation>测试正在进行。停止测试并关闭 Quelmar？</translation>
    </message>
    <message>
        <source>Saved %L1 points to %2</source>
        <translation>已保存 %L1 个点到 %2</translation>
    </message>
    <message>
        <source>Chart exported to %1</source>
        <translation>图表已导出到 %1</translation>
    </message>
    <message>
        <source>Machine parameters sent to the controller.</source>
        <translation>机器参数已发送到控制器。</translation>
    </message>
    <message>
        <source>Report…</source>
        <translation>报告…</translation>
    </message>
    <message>
        <source>Print…</source>
        <translation>打印…</translation>
    </message>
    <message>
        <source>Export curve as CSV…</source>
        <translation>导出曲线为 CSV…</translation>
    </message>
    <message>
        <source>Report settings…</source>
        <translation>报告设置…</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>报告</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>打印</translation>
    </message>
    <message>
        <source>Export curve</source>
        <translation>导出曲线</translation>
    </message>
    <message>
        <source>Could not write %1:
%2</source>
        <translation>无法写入 %1：
%2</translation>
    </message>
    <message>
        <source>Report written to %1.</source>
        <translation>报告已写入 %1。</translation>
    </message>
    <message>
        <source>Curve written to %1.</source>
        <translation>曲线已写入 %1。</translation>
    </message>
    <message>
        <source>The report could not be printed.</source>
        <translation>无法打印报告。</translation>
    </message>
    <message>
        <source>Report settings</source>
        <translation>报告设置</translation>
    </message>
    <message>
        <source>Lab's name, heading every report:</source>
        <translation>实验室名称（每份报告的页眉）：</translation>
    </message>
    <message>
        <source>View</source>
        <translation>视图</translation>
    </message>
</context>
<context>
    <name>SerialSettingDialog</name>
    <message>
        <source>Description: %1</source>
        <translation>描述: %1</translation>
    </message>
    <message>
        <source>Manufacturer: %1</source>
        <translation>厂商: %1</translation>
    </message>
    <message>
        <source>Serial number: %1</source>
        <translation>序列号: %1</translation>
    </message>
    <message>
        <source>Location: %1</source>
        <translation>端口号: %1</translation>
    </message>
    <message>
        <source>Vendor Identifier: %1</source>
        <translation>供应商标识: %1</translation>
    </message>
    <message>
        <source>Product Identifier: %1</source>
        <translation>产品标识: %1</translation>
    </message>
    <message>
        <source>115200</source>
        <translatorcomment>Left empty on purpose: the dialog selects the baud rate item by this text, so the lookup must give the number back unchanged.</translatorcomment>
        <translation></translation>
    </message>
</context>
<context>
    <name>chartStart</name>
    <message>
        <source>ChartSetting</source>
        <translation>图表设置</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>PUSH</source>
        <translation>压缩</translation>
    </message>
    <message>
        <source>PULL</source>
        <translation>拉伸</translation>
    </message>
    <message>
        <source>Relative Distance</source>
        <translation>相对位移</translation>
    </message>
    <message>
        <source>Absolute Distance</source>
        <translation>绝对位移</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>位移</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确认</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>curveSettingDialog</name>
    <message>
        <source>AxisSetting</source>
        <translation>坐标设置</translation>
    </message>
    <message>
        <source>Xaxis</source>
        <translation>x轴</translation>
    </message>
    <message>
        <source>Yaxis</source>
        <translation>y轴</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>最小</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>最大</translation>
    </message>
    <message>
        <source>Reversed</source>
        <translation>反向</translation>
    </message>
    <message>
        <source>AxisAutoSet</source>
        <translation>自动设置</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确认</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>languageSelectDialog</name>
    <message>
        <source>languageSelect</source>
        <translation>语言选择</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>System</source>
        <translation>系统</translation>
    </message>
    <message>
        <source>English</source>
        <translation>英语</translation>
    </message>
    <message>
        <source>Chinese</source>
        <translation>中文</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确认</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>确认</translation>
    </message>
    <message>
        <source>Confirm change the language?</source>
        <translation>确认修改语言?</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>信息</translation>
    </message>
    <message>
        <source>Language will be changed after application restart!</source>
        <translation>应用重启后修改语言!</translation>
    </message>
    <message>
        <source>The language choice could not be saved!</source>
        <translation>无法保存语言选择!</translation>
    </message>
</context>
<context>
    <name>machineParameter</name>
    <message>
        <source>machineParameter</source>
        <translation>机器参数</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>System Set</source>
        <translation>系统设置</translation>
    </message>
    <message>
        <source>Total Num</source>
        <translation>总次数</translation>
    </message>
    <message>
        <source>Stop Value</source>
        <translation>停止值</translation>
    </message>
    <message>
        <source>Step Distance</source>
        <translation>步进距离</translation>
    </message>
    <message>
        <source>Peak Low Set</source>
        <translation>峰值下限</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>修改</translation>
    </message>
    <message>
        <source>Write these parameters to the controller</source>
        <translation>将这些参数写入控制器</translation>
    </message>
</context>
<context>
    <name>serialSettingDialog</name>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Select Serial Port</source>
        <translation>选择串口</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>描述:</translation>
    </message>
    <message>
        <source>Manufacturer:</source>
        <translation>厂商:</translation>
    </message>
    <message>
        <source>Serial number:</source>
        <translation>序列号:</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>端口号:</translation>
    </message>
    <message>
        <source>Vendor ID:</source>
        <translation>供应商标识:</translation>
    </message>
    <message>
        <source>Product ID:</source>
        <translation>产品标识:</translation>
    </message>
    <message>
        <source>Select Parameters</source>
        <translation>选择参数</translation>
    </message>
    <message>
        <source>BaudRate:</source>
        <translation>波特率:</translation>
    </message>
    <message>
        <source>Data bits:</source>
        <translation>数据位:</translation>
    </message>
    <message>
        <source>Parity:</source>
        <translation>校验位:</translation>
    </message>
    <message>
        <source>Stop bits:</source>
        <translation>停止位:</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
    </message>
    <message>
        <source>even</source>
        <translation>偶校验</translation>
    </message>
    <message>
        <source>odd</source>
        <translation>奇校验</translation>
    </message>
</context>
<context>
    <name>ReportDocument</name>
    <message>
        <source>Page %1 of %2</source>
        <translation>第 %1 页，共 %2 页</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Test records</source>
        <translation>测试记录</translation>
    </message>
    <message>
        <source>From</source>
        <translation>从</translation>
    </message>
    <message>
        <source>To</source>
        <translation>到</translation>
    </message>
    <message>
        <source>Method</source>
        <translation>方法</translation>
    </message>
    <message>
        <source>Batch</source>
        <translation>批次</translation>
    </message>
    <message>
        <source>Any batch</source>
        <translation>所有批次</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>判定</translation>
    </message>
    <message>
        <source>Search sample or note</source>
        <translation>搜索样品或备注</translation>
    </message>
    <message>
        <source>Show on chart</source>
        <translation>在图表中显示</translation>
    </message>
    <message>
        <source>Overlay</source>
        <translation>叠加</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>统计</translation>
    </message>
    <message>
        <source>Any method</source>
        <translation>所有方法</translation>
    </message>
    <message>
        <source>Any verdict</source>
        <translation>所有判定</translation>
    </message>
    <message>
        <source>pass</source>
        <translation>合格</translation>
    </message>
    <message>
        <source>fail</source>
        <translation>不合格</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Test records: %1</source>
        <translation>测试记录：%1</translation>
    </message>
    <message numerus="yes">
        <source>%n record(s)</source>
        <translation>
            <numerusform>%n 条记录</numerusform>
        </translation>
    </message>
    <message>
        <source>Records cannot be read: %1</source>
        <translation>无法读取记录：%1</translation>
    </message>
    <message>
        <source>Choose the records to overlay in the list.</source>
        <translation>请在列表中选择要叠加的记录。</translation>
    </message>
    <message>
        <source>At most %1 records can be overlaid; %2 are chosen.</source>
        <translation>最多可叠加 %1 条记录，已选择 %2 条。</translation>
    </message>
    <message>
        <source>Batch report…</source>
        <translation>批量报告…</translation>
    </message>
    <message>
        <source>Batch report</source>
        <translation>批量报告</translation>
    </message>
    <message>
        <source>Could not write %1:
%2</source>
        <translation>无法写入 %1：
%2</translation>
    </message>
    <message>
        <source>At most %1 records go into one batch report; %2 are chosen.</source>
        <translation>一份批量报告最多包含 %1 条记录；已选择 %2 条。</translation>
    </message>
</context>
<context>
    <name>OverlayWindow</name>
    <message>
        <source>Overlay</source>
        <translation>叠加</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>进程</translation>
    </message>
    <message>
        <source>Return</source>
        <translation>返程</translation>
    </message>
    <message>
        <source>Distance (mm)</source>
        <translation>位移 (mm)</translation>
    </message>
    <message>
        <source>Force (N)</source>
        <translation>力值 (N)</translation>
    </message>
    <message>
        <source>record %1</source>
        <translation>记录 %1</translation>
    </message>
    <message numerus="yes">
        <source>%n record(s)</source>
        <translation>
            <numerusform>%n 条记录</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RecordTableModel</name>
    <message>
        <source>pass</source>
        <translation>合格</translation>
    </message>
    <message>
        <source>fail</source>
        <translation>不合格</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>样品</translation>
    </message>
    <message>
        <source>Batch</source>
        <translation>批次</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作员</translation>
    </message>
    <message>
        <source>Method</source>
        <translation>方法</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>判定</translation>
    </message>
</context>
<context>
    <name>RecordsDatabaseDialog</name>
    <message>
        <source>Records database</source>
        <translation>记录数据库</translation>
    </message>
    <message>
        <source>Records file on this computer</source>
        <translation>本机记录文件</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>浏览...</translation>
    </message>
    <message>
        <source>Lab server (PostgreSQL)</source>
        <translation>实验室服务器 (PostgreSQL)</translation>
    </message>
    <message>
        <source>The password is not entered here: it is taken from ~/.pgpass or PGPASSWORD. Records that cannot reach the server wait in the records file on this computer.</source>
        <translation>此处不输入密码：密码取自 ~/.pgpass 或 PGPASSWORD。无法送达服务器的记录暂存在本机记录文件中。</translation>
    </message>
    <message>
        <source>Records file</source>
        <translation>记录文件</translation>
    </message>
    <message>
        <source>Records (*.sqlite);;All files (*)</source>
        <translation>记录 (*.sqlite);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Name the records file.</source>
        <translation>请指定记录文件。</translation>
    </message>
    <message>
        <source>A lab server is given as postgresql://user@host:port/dbname.</source>
        <translation>实验室服务器的格式为 postgresql://user@host:port/dbname。</translation>
    </message>
    <message>
        <source>The password was taken out of the URL: the server's password is read from ~/.pgpass or PGPASSWORD. Press OK to use this server.</source>
        <translation>已从地址中去除密码：服务器密码从 ~/.pgpass 或 PGPASSWORD 读取。按“确定”使用此服务器。</translation>
    </message>
</context>
<context>
    <name>RecordsStatusLabel</name>
    <message>
        <source>Records off: %1</source>
        <translation>记录已关闭：%1</translation>
    </message>
    <message>
        <source>Records waiting for the server: %1</source>
        <translation>等待发送到服务器的记录：%1</translation>
    </message>
</context>
<context>
    <name>SampleStrip</name>
    <message>
        <source>Sample</source>
        <translation>样品</translation>
    </message>
    <message>
        <source>Counts up after each test when it ends in a number</source>
        <translation>以数字结尾时，每次测试后自动加一</translation>
    </message>
    <message>
        <source>Batch</source>
        <translation>批次</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作员</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>备注</translation>
    </message>
</context>
<context>
    <name>StatisticsWindow</name>
    <message>
        <source>Statistics</source>
        <translation>统计</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>平均值</translation>
    </message>
    <message>
        <source>SD</source>
        <translation>标准差</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>最小值</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>最大值</translation>
    </message>
    <message>
        <source>CV %</source>
        <translation>变异系数 %</translation>
    </message>
    <message numerus="yes">
        <source>Statistics of %n record(s)</source>
        <translation>
            <numerusform>%n 条记录的统计</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TestRecorder</name>
    <message>
        <source>no records database chosen</source>
        <translation>未选择记录数据库</translation>
    </message>
</context>
<context>
    <name>ReportChart</name>
    <message>
        <source>Distance (mm)</source>
        <translation>位移 (mm)</translation>
    </message>
    <message>
        <source>Force (%1)</source>
        <translation>力值 (%1)</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>进程</translation>
    </message>
    <message>
        <source>Return</source>
        <translation>返程</translation>
    </message>
</context>
<context>
    <name>ResultText</name>
    <message>
        <source>forward</source>
        <translation>进程</translation>
    </message>
    <message>
        <source>return</source>
        <translation>返程</translation>
    </message>
    <message>
        <source>Force at %1 mm</source>
        <translation>%1 mm 处力值</translation>
    </message>
    <message>
        <source>Distance at %1 N</source>
        <translation>%1 N 处位移</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>点数</translation>
    </message>
    <message>
        <source>Peak force</source>
        <translation>峰值力</translation>
    </message>
    <message>
        <source>Distance at peak</source>
        <translation>峰值位移</translation>
    </message>
    <message>
        <source>Work</source>
        <translation>功</translation>
    </message>
    <message>
        <source>Mean force</source>
        <translation>平均力</translation>
    </message>
    <message>
        <source>Slope</source>
        <translation>斜率</translation>
    </message>
    <message>
        <source>Break</source>
        <translation>断裂</translation>
    </message>
    <message>
        <source>Break distance</source>
        <translation>断裂位移</translation>
    </message>
    <message>
        <source>Break force</source>
        <translation>断裂力</translation>
    </message>
    <message>
        <source>Hysteresis</source>
        <translation>滞后功</translation>
    </message>
    <message>
        <source>Hysteresis, share of forward work</source>
        <translation>滞后功占进程功的比例</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>no</source>
        <translation>否</translation>
    </message>
</context>
<context>
    <name>RecordFields</name>
    <message>
        <source>Sample</source>
        <translation>样品</translation>
    </message>
    <message>
        <source>Batch</source>
        <translation>批次</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作员</translation>
    </message>
    <message>
        <source>Date and time</source>
        <translation>日期时间</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>工位</translation>
    </message>
    <message>
        <source>Stand type</source>
        <translation>机型</translation>
    </message>
    <message>
        <source>Type-%1</source>
        <translation>型号-%1</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>来源</translation>
    </message>
    <message>
        <source>test data file</source>
        <translation>测试数据文件</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>备注</translation>
    </message>
    <message>
        <source>Method</source>
        <translation>方法</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>pull</source>
        <translation>拉伸</translation>
    </message>
    <message>
        <source>push</source>
        <translation>压缩</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>位移</translation>
    </message>
    <message>
        <source>to %1 mm (absolute)</source>
        <translation>至 %1 mm（绝对位移）</translation>
    </message>
    <message>
        <source>%1 mm (relative)</source>
        <translation>%1 mm（相对位移）</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Curve reads</source>
        <translation>曲线读取次数</translation>
    </message>
    <message>
        <source>Failed reads</source>
        <translation>读取失败次数</translation>
    </message>
    <message>
        <source>Dropped points</source>
        <translation>丢弃点数</translation>
    </message>
    <message>
        <source>Points kept</source>
        <translation>保留点数</translation>
    </message>
    <message>
        <source>%1 forward, %2 return</source>
        <translation>进程 %1，返程 %2</translation>
    </message>
    <message>
        <source>PASS</source>
        <translation>合格</translation>
    </message>
    <message>
        <source>FAIL</source>
        <translation>不合格</translation>
    </message>
    <message>
        <source>NO VERDICT</source>
        <translation>无判定</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>不合格项：%1</translation>
    </message>
    <message>
        <source>The method sets no limits.</source>
        <translation>该方法未设定限值。</translation>
    </message>
    <message>
        <source>pass</source>
        <translation>合格</translation>
    </message>
    <message>
        <source>fail</source>
        <translation>不合格</translation>
    </message>
    <message>
        <source>%1, version %2</source>
        <translation>%1，版本 %2</translation>
    </message>
</context>
<context>
    <name>TestReport</name>
    <message>
        <source>Test report</source>
        <translation>测试报告</translation>
    </message>
    <message>
        <source>Method and settings</source>
        <translation>方法与设置</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果项</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>数值</translation>
    </message>
    <message>
        <source>Limits</source>
        <translation>限值</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>判定</translation>
    </message>
    <message>
        <source>fail</source>
        <translation>不合格</translation>
    </message>
    <message>
        <source>pass</source>
        <translation>合格</translation>
    </message>
    <message>
        <source>Acquisition</source>
        <translation>采集</translation>
    </message>
    <message>
        <source>Read from a test data file: no acquisition figures.</source>
        <translation>读自测试数据文件：无采集数据。</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>记录</translation>
    </message>
    <message>
        <source>Record %1, number %2 in the database, recorded at %3
Hash (SHA-256): %4
Previous hash: %5</source>
        <translation>记录 %1，数据库中第 %2 条，记录于 %3
哈希 (SHA-256)：%4
前一条哈希：%5</translation>
    </message>
    <message>
        <source>none (the first record)</source>
        <translation>无（第一条记录）</translation>
    </message>
    <message>
        <source>Tested by</source>
        <translation>测试人签字</translation>
    </message>
    <message>
        <source>Checked by</source>
        <translation>审核人签字</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Batch report of %1 records</source>
        <translation>批量报告，共 %1 条记录</translation>
    </message>
    <message>
        <source>Batch report</source>
        <translation>批量报告</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>记录</translation>
    </message>
    <message>
        <source>Verdicts</source>
        <translation>判定</translation>
    </message>
    <message>
        <source>%1 pass, %2 fail, %3 without limits</source>
        <translation>合格 %1，不合格 %2，无限值 %3</translation>
    </message>
    <message>
        <source>Batch</source>
        <translation>批次</translation>
    </message>
    <message>
        <source>Method</source>
        <translation>方法</translation>
    </message>
    <message>
        <source>From</source>
        <translation>起</translation>
    </message>
    <message>
        <source>To</source>
        <translation>止</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>统计</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>单位</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>平均值</translation>
    </message>
    <message>
        <source>SD</source>
        <translation>标准差</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>最小值</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>最大值</translation>
    </message>
    <message>
        <source>CV %</source>
        <translation>变异系数 %</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>样品</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作员</translation>
    </message>
</context>
<context>
    <name>ChartRecord</name>
    <message>
        <source>The chart shows no stored test. Run a test with records on, or open a record from the history.</source>
        <translation>图表中没有已保存的测试。请在记录开启时进行测试，或从历史记录中打开一条记录。</translation>
    </message>
    <message>
        <source>The test's record cannot be read: %1</source>
        <translation>无法读取该测试的记录：%1</translation>
    </message>
    <message>
        <source>The test's record is not stored yet; it waits for the records database.</source>
        <translation>该测试的记录尚未保存，正在等待记录数据库。</translation>
    </message>
</context>
<context>
    <name>ResultsDock</name>
    <message>
        <source>Results</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Method:</source>
        <translation>方法:</translation>
    </message>
    <message>
        <source>Methods...</source>
        <translation>方法库...</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果项</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>进程</translation>
    </message>
    <message>
        <source>Return</source>
        <translation>返程</translation>
    </message>
    <message>
        <source>Refresh results</source>
        <translation>刷新结果</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
    </message>
    <message>
        <source>%1, version %2</source>
        <translation>%1，版本 %2</translation>
    </message>
    <message>
        <source>PASS</source>
        <translation>合格</translation>
    </message>
    <message>
        <source>FAIL</source>
        <translation>不合格</translation>
    </message>
    <message>
        <source>No limits to judge by</source>
        <translation>无判定限值</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>不合格项: %1</translation>
    </message>
    <message>
        <source>Test running</source>
        <translation>测试进行中</translation>
    </message>
</context>
<context>
    <name>ResultsPanel</name>
    <message>
        <source>Peak markers</source>
        <translation>峰值标记</translation>
    </message>
    <message>
        <source>Break markers</source>
        <translation>断裂标记</translation>
    </message>
    <message>
        <source>Window markers</source>
        <translation>区间标记</translation>
    </message>
    <message>
        <source>Test of %1%2</source>
        <translation>%1 的测试%2</translation>
    </message>
    <message>
        <source>, stopped</source>
        <translation>，已停止</translation>
    </message>
    <message>
        <source>Test running, %1 s</source>
        <translation>测试进行中，%1 秒</translation>
    </message>
    <message>
        <source>File %1 could not be read again: %2</source>
        <translation>无法再次读取文件 %1: %2</translation>
    </message>
    <message>
        <source>File %1</source>
        <translation>文件 %1</translation>
    </message>
    <message>
        <source>What the chart holds</source>
        <translation>图表中的曲线</translation>
    </message>
</context>
<context>
    <name>CurveMarkers</name>
    <message>
        <source>Window</source>
        <translation>区间</translation>
    </message>
    <message>
        <source>Peak</source>
        <translation>峰值</translation>
    </message>
    <message>
        <source>Break</source>
        <translation>断裂</translation>
    </message>
</context>
<context>
    <name>MethodLibraryDialog</name>
    <message>
        <source>Test methods</source>
        <translation>测试方法</translation>
    </message>
    <message>
        <source>New...</source>
        <translation>新建...</translation>
    </message>
    <message>
        <source>Duplicate</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Edit...</source>
        <translation>编辑...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Use</source>
        <translation>使用</translation>
    </message>
    <message>
        <source>Use none</source>
        <translation>不使用方法</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
    </message>
    <message>
        <source>%1 (cannot be read)</source>
        <translation>%1 (无法读取)</translation>
    </message>
    <message>
        <source>%1, version %2</source>
        <translation>%1，版本 %2</translation>
    </message>
    <message>
        <source>In use: %1</source>
        <translation>使用中: %1</translation>
    </message>
    <message>
        <source>New method</source>
        <translation>新方法</translation>
    </message>
    <message>
        <source>%1 (copy)</source>
        <translation>%1 (副本)</translation>
    </message>
    <message>
        <source>Delete %1?</source>
        <translation>删除 %1?</translation>
    </message>
</context>
<context>
    <name>MethodEditDialog</name>
    <message>
        <source>Test method</source>
        <translation>测试方法</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Test settings</source>
        <translation>测试设置</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>PUSH</source>
        <translation>压缩</translation>
    </message>
    <message>
        <source>PULL</source>
        <translation>拉伸</translation>
    </message>
    <message>
        <source>Distance mode</source>
        <translation>位移方式</translation>
    </message>
    <message>
        <source>Relative Distance</source>
        <translation>相对位移</translation>
    </message>
    <message>
        <source>Absolute Distance</source>
        <translation>绝对位移</translation>
    </message>
    <message>
        <source>Distance (mm)</source>
        <translation>位移 (mm)</translation>
    </message>
    <message>
        <source>Speed (mm/min)</source>
        <translation>速度 (mm/min)</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Window from (mm)</source>
        <translation>区间起点 (mm)</translation>
    </message>
    <message>
        <source>to (mm)</source>
        <translation>终点 (mm)</translation>
    </message>
    <message>
        <source>Force at distances (mm)</source>
        <translation>指定位移处力值 (mm)</translation>
    </message>
    <message>
        <source>Distance at forces (N)</source>
        <translation>指定力值处位移 (N)</translation>
    </message>
    <message>
        <source>Break at a drop of (%)</source>
        <translation>断裂: 下降 (%)</translation>
    </message>
    <message>
        <source>after a peak of at least (N)</source>
        <translation>峰值至少 (N)</translation>
    </message>
    <message>
        <source>Limits (empty: no bound)</source>
        <translation>限值 (空: 不限)</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果项</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>最小</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>最大</translation>
    </message>
    <message>
        <source>Add limit</source>
        <translation>添加限值</translation>
    </message>
    <message>
        <source>Remove limit</source>
        <translation>删除限值</translation>
    </message>
    <message>
        <source>%1: %2 is not a number.</source>
        <translation>%1: %2 不是数字。</translation>
    </message>
    <message>
        <source>The method</source>
        <translation>该方法</translation>
    </message>
</context>
<context>
    <name>TestMethod</name>
    <message>
        <source>missing</source>
        <translation>缺失</translation>
    </message>
    <message>
        <source>must be a text</source>
        <translation>必须是文本</translation>
    </message>
    <message>
        <source>must not be empty</source>
        <translation>不能为空</translation>
    </message>
    <message>
        <source>unknown member</source>
        <translation>未知成员</translation>
    </message>
    <message>
        <source>must be an object</source>
        <translation>必须是对象</translation>
    </message>
    <message>
        <source>must be a number</source>
        <translation>必须是数字</translation>
    </message>
    <message>
        <source>must be a whole number of at least %1</source>
        <translation>必须是不小于 %1 的整数</translation>
    </message>
    <message>
        <source>must be a whole number from %1 to %2</source>
        <translation>必须是 %1 到 %2 之间的整数</translation>
    </message>
    <message>
        <source>must be a list of numbers</source>
        <translation>必须是数字列表</translation>
    </message>
    <message>
        <source>must be &quot;%1&quot; or &quot;%2&quot;</source>
        <translation>必须是 &quot;%1&quot; 或 &quot;%2&quot;</translation>
    </message>
    <message>
        <source>must lie from -700 to 700 with at most two decimals</source>
        <translation>必须在 -700 到 700 之间，最多两位小数</translation>
    </message>
    <message>
        <source>must be [from, to] with from not above to</source>
        <translation>必须是 [起点, 终点]，且起点不大于终点</translation>
    </message>
    <message>
        <source>must lie above 0 and at most at 100</source>
        <translation>必须大于 0 且不大于 100</translation>
    </message>
    <message>
        <source>must not be negative</source>
        <translation>不能为负数</translation>
    </message>
    <message>
        <source>not a numeric result</source>
        <translation>不是数值结果</translation>
    </message>
    <message>
        <source>no such result</source>
        <translation>没有此结果</translation>
    </message>
    <message>
        <source>must be [min, max], each a number or null</source>
        <translation>必须是 [最小, 最大]，各为数字或 null</translation>
    </message>
    <message>
        <source>the minimum lies above the maximum</source>
        <translation>最小值大于最大值</translation>
    </message>
    <message>
        <source>%1: not valid JSON: %2 at byte %3</source>
        <translation>%1: 不是有效的 JSON: 第 %3 字节处%2</translation>
    </message>
    <message>
        <source>%1: not a JSON object</source>
        <translation>%1: 不是 JSON 对象</translation>
    </message>
    <message>
        <source>member named twice</source>
        <translation>成员重复</translation>
    </message>
    <message>
        <source>%1: not a method file (a method is a file of at most 1 MB)</source>
        <translation>%1: 不是方法文件(方法文件最大 1 MB)</translation>
    </message>
</context>
<context>
    <name>MethodLibrary</name>
    <message>
        <source>Cannot create the folder %1.</source>
        <translation>无法创建文件夹 %1。</translation>
    </message>
</context>
</TS>
