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
        <translation>近一月检查</translation>
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
        <translation>近一月检查失败：%1</translation>
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
</TS>
