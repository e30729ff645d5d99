<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>QObject</name>
    <message>
        <source> ICloud Recording </source>
        <translation> 云录像 </translation>
    </message>
    <message>
        <source> Storage Alarm Recording </source>
        <translation> 存储报警录像 </translation>
    </message>
    <message>
        <source>LiveVideo</source>
        <translation>实时视频</translation>
    </message>
    <message>
        <source>NVR Recording</source>
        <translation>NVR录像</translation>
    </message>
    <message>
        <source>Nothing was captured: this video is not playing.</source>
        <translation>未能抓图：该视频未在播放。</translation>
    </message>
    <message>
        <source>Get alarm notes failed.</source>
        <translation>获取报警处理记录失败。</translation>
    </message>
    <message>
        <source>The live image can not be stored, its name is not allowed: %1</source>
        <translation>无法保存实时图片，名称不合法：%1</translation>
    </message>
    <message>
        <source>Are you sure false alarm?</source>
        <translation>确定标记为误报吗？</translation>
    </message>
    <message>
        <source>False alarm</source>
        <translation>误报</translation>
    </message>
    <message>
        <source>Hanle alarm...</source>
        <translation>正在处理报警...</translation>
    </message>
    <message>
        <source>:</source>
        <translation>：</translation>
    </message>
    <message>
        <source>_Keeper</source>
        <translation>店长</translation>
    </message>
    <message>
        <source>_Owner</source>
        <translation>业主</translation>
    </message>
    <message>
        <source>_Address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>另存为</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Save AlarmRelation</source>
        <translation>保存报警关联文件</translation>
    </message>
    <message>
        <source>Do you want to delete relation : %1?</source>
        <translation>确定删除关联：%1？</translation>
    </message>
    <message>
        <source>Delete relation failed,video recording now or open in somewhere.</source>
        <translation>删除关联失败，正在录像或文件已在别处打开。</translation>
    </message>
    <message>
        <source>video recording now, do you want stop and save as?</source>
        <translation>正在录像，是否停止录像并另存？</translation>
    </message>
    <message>
        <source>Can not save the relation file onto itself.</source>
        <translation>不能将关联文件另存为其自身。</translation>
    </message>
    <message>
        <source>Save as relation file failed.</source>
        <translation>关联文件另存失败。</translation>
    </message>
    <message>
        <source>Alarm Monitor                  </source>
        <translation>报警监控                  </translation>
    </message>
    <message>
        <source>Alarm Record                  </source>
        <translation>报警记录                  </translation>
    </message>
    <message>
        <source>Alarm Detail                  </source>
        <translation>报警详情                  </translation>
    </message>
    <message>
        <source>Inform</source>
        <translation>通知</translation>
    </message>
    <message>
        <source>The handle note can not be null.</source>
        <translation>处理意见不能为空。</translation>
    </message>
    <message>
        <source>_All</source>
        <translation>全部</translation>
    </message>
    <message>
        <source>All</source>
        <translation>全部</translation>
    </message>
    <message>
        <source>New</source>
        <translation>新报警</translation>
    </message>
    <message>
        <source>Dealt</source>
        <translation>处理中</translation>
    </message>
    <message>
        <source>Mistaken</source>
        <translation>误报</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>已关闭</translation>
    </message>
    <message>
        <source>New(Handled) Alarm Description</source>
        <translation>报警描述/处理意见</translation>
    </message>
    <message>
        <source>New Alarm Description</source>
        <translation>新报警描述</translation>
    </message>
    <message>
        <source>Last Handled Alarm Description</source>
        <translation>最后处理意见</translation>
    </message>
    <message>
        <source>Getting the count of records.</source>
        <translation>正在获取记录数量。</translation>
    </message>
    <message>
        <source>Getting the records info, please wait.</source>
        <translation>正在获取记录信息，请稍候。</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>第 %1 页，共 %2 页</translation>
    </message>
    <message>
        <source>Get records count failed.</source>
        <translation>获取记录数量失败。</translation>
    </message>
    <message>
        <source>Get records infomation failed.</source>
        <translation>获取记录信息失败。</translation>
    </message>
    <message>
        <source>New Alarm Time</source>
        <translation>报警时间</translation>
    </message>
    <message>
        <source>_Principal</source>
        <translation>负责人</translation>
    </message>
    <message>
        <source>_Principal Tel</source>
        <translation>负责人电话</translation>
    </message>
    <message>
        <source>Capture </source>
        <translation>抓图 </translation>
    </message>
    <message>
        <source>Local Recording </source>
        <translation>本地录像 </translation>
    </message>
    <message>
        <source>Alarm Handler:</source>
        <translation>处理人：</translation>
    </message>
    <message>
        <source>Alarm Handler Tel:</source>
        <translation>处理人电话：</translation>
    </message>
    <message>
        <source>Deal Alarm</source>
        <translation>处理报警...</translation>
    </message>
    <message>
        <source>Mistaken Alarm</source>
        <translation>标记为误报</translation>
    </message>
    <message>
        <source>Delete Alarm</source>
        <translation>从表格中移除</translation>
    </message>
    <message>
        <source>New(Handled) Alarm Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Probe Info</source>
        <translation>探头</translation>
    </message>
    <message>
        <source>Principal</source>
        <translation>负责人</translation>
    </message>
    <message>
        <source>principal Tel</source>
        <translation>负责人电话</translation>
    </message>
    <message>
        <source>subTypeDescription</source>
        <translation>报警子类型</translation>
    </message>
    <message>
        <source>Are you sure delete selected alarms from table,you can search them from alarm records again</source>
        <translation>确定从表格中删除所选报警吗？删除后仍可在报警记录中查询。</translation>
    </message>
    <message>
        <source>False</source>
        <translation>误报</translation>
    </message>
    <message>
        <source>False And Alarm Off</source>
        <translation>误报并撤防</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>_Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>_Keeper Tel</source>
        <translation>店长电话</translation>
    </message>
    <message>
        <source>_Owner_Tel</source>
        <translation>业主电话</translation>
    </message>
    <message>
        <source>Live image %1, channel %2, %3</source>
        <translation>实时图片 %1，通道 %2，%3</translation>
    </message>
    <message>
        <source>No alarm matches the search.</source>
        <translation>没有符合条件的报警。</translation>
    </message>
    <message>
        <source>The alarm server refuses this client since %1: %2</source>
        <translation>报警服务器自 %1 起拒绝本客户端：%2</translation>
    </message>
    <message>
        <source>Alarm server unreachable since %1. Connecting...</source>
        <translation>自 %1 起无法连接报警服务器，正在连接…</translation>
    </message>
    <message>
        <source>Alarm server unreachable since %1. Reconnecting (attempt %2)...</source>
        <translation>自 %1 起无法连接报警服务器，正在重新连接（第 %2 次）…</translation>
    </message>
    <message>
        <source>Alarm Monitor (%1 new)</source>
        <translation>报警监控（%1 条新报警）</translation>
    </message>
    <message>
        <source>%1 alarm(s) not handled: %2</source>
        <translation>%1 条报警未处理：%2</translation>
    </message>
    <message>
        <source>The alarm server did not answer in time.</source>
        <translation>报警服务器未及时应答。</translation>
    </message>
    <message>
        <source>Alarm server unreachable</source>
        <translation>无法连接报警服务器</translation>
    </message>
    <message>
        <source>The alarm server gave no reason.</source>
        <translation>报警服务器未说明原因。</translation>
    </message>
    <message>
        <source>Alarms in this handling: %1</source>
        <translation>本次处理的报警：%1 条</translation>
    </message>
    <message>
        <source>Not handled yet: %1</source>
        <translation>尚未处理：%1</translation>
    </message>
    <message>
        <source>Alarms handled: %1</source>
        <translation>已处理报警：%1 条</translation>
    </message>
    <message>
        <source>Alarms of this probe: %1</source>
        <translation>该探头的报警：%1 条</translation>
    </message>
    <message>
        <source>Alarms waiting for a free view: %1</source>
        <translation>等待空闲视频窗口的报警：%1 条</translation>
    </message>
    <message>
        <source>Access revoked</source>
        <translation>访问权限已被撤销</translation>
    </message>
    <message>
        <source>Your rights allow watching only</source>
        <translation>您的权限仅允许查看</translation>
    </message>
    <message>
        <source>%1 is handling</source>
        <translation>%1 正在处理</translation>
    </message>
    <message>
        <source>%1 is handling this alarm. Handle it anyway?</source>
        <translation>%1 正在处理此报警。仍要处理吗？</translation>
    </message>
    <message>
        <source>%1 is handling some of these alarms. Handle them anyway?</source>
        <translation>%1 正在处理其中部分报警。仍要处理吗？</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>%1 has this alarm&apos;s handling open</source>
        <translation>%1 已打开此报警的处理</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::AlarmDetailCheckWt</name>
    <message>
        <source>AlarmDetailCheckWt</source>
        <translation>报警详情</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>未选择报警</translation>
    </message>
    <message>
        <source>Handle</source>
        <translation>处理</translation>
    </message>
    <message>
        <source>False</source>
        <translation>误报</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>返回</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::AlarmInfoWidget</name>
    <message>
        <source>AlarmInfoWidget</source>
        <translation>报警信息</translation>
    </message>
    <message>
        <source>Stor Name:</source>
        <translation>门店名称：</translation>
    </message>
    <message>
        <source>Pirs Info:</source>
        <translation>探头信息：</translation>
    </message>
    <message>
        <source>Store Keeper:</source>
        <translation>门店店长：</translation>
    </message>
    <message>
        <source>Store Tel:</source>
        <translation>店长电话：</translation>
    </message>
    <message>
        <source>Store Owner:</source>
        <translation>门店业主：</translation>
    </message>
    <message>
        <source>Store Owner Tel:</source>
        <translation>业主电话：</translation>
    </message>
    <message>
        <source>Responsible:</source>
        <translation>负责人：</translation>
    </message>
    <message>
        <source>Responsible Tel:</source>
        <translation>负责人电话：</translation>
    </message>
    <message>
        <source>Store Address:</source>
        <translation>门店地址：</translation>
    </message>
    <message>
        <source>Pay State:</source>
        <translation>缴费状态：</translation>
    </message>
    <message>
        <source>Alarm Time:</source>
        <translation>报警时间：</translation>
    </message>
    <message>
        <source>Alarm Type:</source>
        <translation>报警类型：</translation>
    </message>
    <message>
        <source>Alarm SubType:</source>
        <translation>报警子类型：</translation>
    </message>
    <message>
        <source>Alarm Describel:</source>
        <translation>报警描述：</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::AlarmRecordPage</name>
    <message>
        <source>AlarmRecords</source>
        <translation>报警记录</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::AlarmRecordSearchWt</name>
    <message>
        <source>AlarmRecordPage</source>
        <translation>报警记录</translation>
    </message>
    <message>
        <source>Start Time:</source>
        <translation>开始时间：</translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>End Time:</source>
        <translation>结束时间：</translation>
    </message>
    <message>
        <source>Store:</source>
        <translation>门店：</translation>
    </message>
    <message>
        <source>Alarm State:</source>
        <translation>报警状态：</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>查询</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::AlarmVideoCellWt</name>
    <message>
        <source>VideoAlarmCellWt</source>
        <translation>报警视频</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::AlarmVideoCheckDlg</name>
    <message>
        <source>AlarmVideoCheckDlg</source>
        <translation>报警视频核查</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::AlarmVideoCheckWt</name>
    <message>
        <source>AlarmVideoCheckWt</source>
        <translation>报警视频核查</translation>
    </message>
    <message>
        <source>Handle</source>
        <translation>处理</translation>
    </message>
    <message>
        <source>False</source>
        <translation>误报</translation>
    </message>
    <message>
        <source>Detail</source>
        <translation>详情</translation>
    </message>
    <message>
        <source>Store</source>
        <translation>门店</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::HandleAlarmDlg</name>
    <message>
        <source>HandleAlarmDlg</source>
        <translation>处理报警</translation>
    </message>
    <message>
        <source>Handle Note</source>
        <translation>处理意见</translation>
    </message>
    <message>
        <source>Close Alarm</source>
        <translation>关闭报警</translation>
    </message>
    <message>
        <source>Inform Keeper</source>
        <translation>通知店长</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>发送</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::VideoAlarmForm</name>
    <message>
        <source>VideoAlarmForm</source>
        <translation>视频报警</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::WaitAlarmWidget</name>
    <message>
        <source>WaitAlarmWidget</source>
        <translation>等待报警</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; color:#666e89;&quot;&gt;Wait for alarm...&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; color:#666e89;&quot;&gt;等待报警...&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
</TS>
