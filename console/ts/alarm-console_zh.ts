<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ConsoleWindow</name>
    <message>
        <source>Alarm Console</source>
        <translation>报警控制台</translation>
    </message>
    <message>
        <source>Scenario %1, %2 probes</source>
        <translation>场景 %1，%2 个探头</translation>
    </message>
    <message>
        <source>Simulator</source>
        <translation>模拟器</translation>
    </message>
    <message>
        <source> Probe </source>
        <translation> 探头 </translation>
    </message>
    <message>
        <source>Raise Alarm</source>
        <translation>触发报警</translation>
    </message>
    <message>
        <source>Alarm Storm</source>
        <translation>报警风暴</translation>
    </message>
    <message>
        <source>Generator</source>
        <translation>报警生成器</translation>
    </message>
    <message>
        <source>Alarm generator on</source>
        <translation>报警生成器已开启</translation>
    </message>
    <message>
        <source>Alarm generator off</source>
        <translation>报警生成器已关闭</translation>
    </message>
    <message>
        <source>Late-Month Check</source>
        <translation>近一月新报警</translation>
    </message>
    <message>
        <source>Switch to Pop-ups</source>
        <translation>切换为弹窗</translation>
    </message>
    <message>
        <source>Switch to Grid</source>
        <translation>切换为宫格</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>中文</source>
        <translation>中文</translation>
    </message>
    <message>
        <source>Stores</source>
        <translation>门店</translation>
    </message>
    <message>
        <source>Notices</source>
        <translation>通知</translation>
    </message>
    <message>
        <source>Handled: %1</source>
        <translation>已处理：%1</translation>
    </message>
    <message>
        <source>Request %1 failed (%2): %3 %4</source>
        <translation>请求 %1 失败（%2）：%3 %4</translation>
    </message>
    <message>
        <source>Alarm outputs switched off: %1</source>
        <translation>已关闭报警输出：%1</translation>
    </message>
    <message>
        <source>New alarms of the last month: %1</source>
        <translation>近一月新报警：%1</translation>
    </message>
    <message>
        <source>Late-month check failed: %1</source>
        <translation>近一月新报警统计失败：%1</translation>
    </message>
    <message>
        <source>Alarm sound on</source>
        <translation>报警声已开启</translation>
    </message>
    <message>
        <source>Alarm sound off</source>
        <translation>报警声已关闭</translation>
    </message>
    <message>
        <source>Simulator: %1</source>
        <translation>模拟器：%1</translation>
    </message>
    <message>
        <source>Cannot raise an alarm: %1</source>
        <translation>无法触发报警：%1</translation>
    </message>
    <message>
        <source>Cannot start a storm: %1</source>
        <translation>无法启动报警风暴：%1</translation>
    </message>
    <message>
        <source>Alarm storm of %1 alarms</source>
        <translation>报警风暴：%1 条报警</translation>
    </message>
    <message>
        <source>Cannot restart the console</source>
        <translation>无法重启控制台</translation>
    </message>
    <message>
        <source>Alarm server: %1</source>
        <translation>报警服务器：%1</translation>
    </message>
    <message>
        <source>Embedded alarm server</source>
        <translation>内置报警服务器</translation>
    </message>
    <message>
        <source>Connected to %1</source>
        <translation>已连接到 %1</translation>
    </message>
    <message>
        <source>Refused by %1</source>
        <translation>被 %1 拒绝</translation>
    </message>
    <message>
        <source>Reconnecting to %1 (%2)</source>
        <translation>正在重新连接 %1（%2）</translation>
    </message>
    <message>
        <source>Connecting to %1</source>
        <translation>正在连接 %1</translation>
    </message>
    <message>
        <source>Access revoked</source>
        <translation>访问权限已被撤销</translation>
    </message>
    <message>
        <source>Operator: %1</source>
        <translation>操作员：%1</translation>
    </message>
    <message>
        <source> (watching only)</source>
        <translation>（仅查看）</translation>
    </message>
    <message>
        <source> (no control of the server)</source>
        <translation>（无服务器控制权限）</translation>
    </message>
    <message>
        <source>Your rights do not allow driving the alarm server</source>
        <translation>您的权限不允许操控报警服务器</translation>
    </message>
    <message>
        <source>Access revoked: %1</source>
        <translation>访问权限已被撤销：%1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>No video</source>
        <translation>无视频</translation>
    </message>
    <message>
        <source>Connecting %1...</source>
        <translation>正在连接 %1...</translation>
    </message>
    <message>
        <source>%1
connection failed</source>
        <translation>%1
连接失败</translation>
    </message>
    <message>
        <source>Playback failed
%1</source>
        <translation>回放失败
%1</translation>
    </message>
    <message>
        <source>ALARM</source>
        <translation>报警</translation>
    </message>
    <message>
        <source>REC</source>
        <translation>录像</translation>
    </message>
    <message>
        <source>Playback finished</source>
        <translation>回放结束</translation>
    </message>
    <message>
        <source>Playback %1%</source>
        <translation>回放 %1%</translation>
    </message>
    <message>
        <source>Alarm Monitoring Centre</source>
        <translation>报警监控中心</translation>
    </message>
</context>
<context>
    <name>StoreListWt</name>
    <message>
        <source>Store</source>
        <translation>门店</translation>
    </message>
    <message>
        <source>Unhandled</source>
        <translation>未处理</translation>
    </message>
    <message>
        <source>%1: unhandled alarms</source>
        <translation>%1：未处理报警</translation>
    </message>
    <message>
        <source>%1 unhandled alarm(s)</source>
        <translation>%1 条未处理报警</translation>
    </message>
</context>
<context>
    <name>VIG_BASE_MODULE::DialogWithCloseBt</name>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>VIG_BASE_MODULE::ImageViewer</name>
    <message>
        <source>No image</source>
        <translation>无图片</translation>
    </message>
    <message>
        <source>The image cannot be shown</source>
        <translation>无法显示该图片</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>正在加载...</translation>
    </message>
</context>
<context>
    <name>VIG_BASE_MODULE::MessageBoxW</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>VIG_BASE_MODULE::PageTurningWidget</name>
    <message>
        <source>%1 / page</source>
        <translation>%1 条/页</translation>
    </message>
    <message>
        <source>First</source>
        <translation>首页</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>上一页</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一页</translation>
    </message>
    <message>
        <source>Last</source>
        <translation>末页</translation>
    </message>
    <message>
        <source>%1 records</source>
        <translation>共 %1 条记录</translation>
    </message>
</context>
<context>
    <name>VIG_BASE_MODULE::VideoPanel</name>
    <message>
        <source>Capture</source>
        <translation>抓图</translation>
    </message>
    <message>
        <source>Start Recording</source>
        <translation>开始录像</translation>
    </message>
    <message>
        <source>Close Video</source>
        <translation>关闭视频</translation>
    </message>
    <message>
        <source>Main stream</source>
        <translation>主码流</translation>
    </message>
    <message>
        <source>Sub stream</source>
        <translation>子码流</translation>
    </message>
    <message>
        <source>Third stream</source>
        <translation>第三码流</translation>
    </message>
    <message>
        <source>Stop Recording</source>
        <translation>停止录像</translation>
    </message>
</context>
<context>
    <name>VIG_BASE_MODULE::VideoPlaybackPanel</name>
    <message>
        <source>Device recording %1 (%2, channel %3, %4)</source>
        <translation>设备录像 %1（%2，通道 %3，%4）</translation>
    </message>
    <message>
        <source>Cloud recording %1 %2</source>
        <translation>云录像 %1 %2</translation>
    </message>
    <message>
        <source>Local recording %1</source>
        <translation>本地录像 %1</translation>
    </message>
    <message>
        <source>NVR %1 channel %2: %3 to %4</source>
        <translation>NVR %1 通道 %2：%3 至 %4</translation>
    </message>
</context>
</TS>
