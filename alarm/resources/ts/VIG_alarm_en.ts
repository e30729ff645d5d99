<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>QObject</name>
    <message>
        <source> ICloud Recording </source>
        <translation> Cloud recording </translation>
    </message>
    <message>
        <source> Storage Alarm Recording </source>
        <translation> Device recording </translation>
    </message>
    <message>
        <source>LiveVideo</source>
        <translation>Live video</translation>
    </message>
    <message>
        <source>NVR Recording</source>
        <translation>NVR recording</translation>
    </message>
    <message>
        <source>Get alarm notes failed.</source>
        <translation>The handling history could not be loaded.</translation>
    </message>
    <message>
        <source>The live image can not be stored, its name is not allowed: %1</source>
        <translation>The live image cannot be stored: its name is not allowed (%1).</translation>
    </message>
    <message>
        <source>Are you sure false alarm?</source>
        <translation>Mark as a false alarm?</translation>
    </message>
    <message>
        <source>False alarm</source>
        <translation>False alarm</translation>
    </message>
    <message>
        <source>Nothing was captured: this video is not playing.</source>
        <translation>Nothing was captured: this video is not playing.</translation>
    </message>
    <message>
        <source>:</source>
        <translation>: </translation>
    </message>
    <message>
        <source>_Name</source>
        <translation> name</translation>
    </message>
    <message>
        <source>_Keeper</source>
        <translation> keeper</translation>
    </message>
    <message>
        <source>_Keeper Tel</source>
        <translation> keeper phone</translation>
    </message>
    <message>
        <source>_Owner</source>
        <translation> owner</translation>
    </message>
    <message>
        <source>_Owner_Tel</source>
        <translation> owner phone</translation>
    </message>
    <message>
        <source>_Address</source>
        <translation> address</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Save as...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Save AlarmRelation</source>
        <translation>Save the alarm&apos;s file</translation>
    </message>
    <message>
        <source>Do you want to delete relation : %1?</source>
        <translation>Delete &quot;%1&quot;?</translation>
    </message>
    <message>
        <source>Delete relation failed,video recording now or open in somewhere.</source>
        <translation>The file could not be deleted: it is being recorded or is open elsewhere.</translation>
    </message>
    <message>
        <source>video recording now, do you want stop and save as?</source>
        <translation>This video is being recorded. Stop the recording and save it?</translation>
    </message>
    <message>
        <source>Can not save the relation file onto itself.</source>
        <translation>A file cannot be saved onto itself.</translation>
    </message>
    <message>
        <source>Save as relation file failed.</source>
        <translation>The file could not be saved.</translation>
    </message>
    <message>
        <source>Alarm Monitor                  </source>
        <translation>Alarm Monitor                  </translation>
    </message>
    <message>
        <source>Alarm Record                  </source>
        <translation>Alarm Records                  </translation>
    </message>
    <message>
        <source>Alarm Detail                  </source>
        <translation>Alarm Details                  </translation>
    </message>
    <message>
        <source>Hanle alarm...</source>
        <translation>Handling the alarms...</translation>
    </message>
    <message>
        <source>Inform</source>
        <translation>Inform the </translation>
    </message>
    <message>
        <source>The handle note can not be null.</source>
        <translation>Please write a handling note.</translation>
    </message>
    <message>
        <source>_All</source>
        <translation>Any </translation>
    </message>
    <message>
        <source>All</source>
        <translation>All</translation>
    </message>
    <message>
        <source>New</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Dealt</source>
        <translation>Being handled</translation>
    </message>
    <message>
        <source>Mistaken</source>
        <translation>False alarm</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Closed</translation>
    </message>
    <message>
        <source>New(Handled) Alarm Description</source>
        <translation>Description or handling note</translation>
    </message>
    <message>
        <source>New Alarm Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Last Handled Alarm Description</source>
        <translation>Last handling note</translation>
    </message>
    <message>
        <source>Getting the count of records.</source>
        <translation>Counting the records...</translation>
    </message>
    <message>
        <source>Getting the records info, please wait.</source>
        <translation>Loading the records...</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Page %1 of %2</translation>
    </message>
    <message>
        <source>Get records count failed.</source>
        <translation>The records could not be counted.</translation>
    </message>
    <message>
        <source>Get records infomation failed.</source>
        <translation>The records could not be loaded.</translation>
    </message>
    <message>
        <source>New Alarm Time</source>
        <translation>Alarm time</translation>
    </message>
    <message>
        <source>_Principal</source>
        <translation> contact</translation>
    </message>
    <message>
        <source>_Principal Tel</source>
        <translation> contact phone</translation>
    </message>
    <message>
        <source>Capture </source>
        <translation>Capture </translation>
    </message>
    <message>
        <source>Local Recording </source>
        <translation>Local recording </translation>
    </message>
    <message>
        <source>Alarm Handler:</source>
        <translation>Handled by: </translation>
    </message>
    <message>
        <source>Alarm Handler Tel:</source>
        <translation>Handler&apos;s phone: </translation>
    </message>
    <message>
        <source>Deal Alarm</source>
        <translation>Handle...</translation>
    </message>
    <message>
        <source>Mistaken Alarm</source>
        <translation>False Alarm</translation>
    </message>
    <message>
        <source>Delete Alarm</source>
        <translation>Remove from Table</translation>
    </message>
    <message>
        <source>New(Handled) Alarm Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Probe Info</source>
        <translation>Probe</translation>
    </message>
    <message>
        <source>Principal</source>
        <translation>Contact</translation>
    </message>
    <message>
        <source>principal Tel</source>
        <translation>Contact phone</translation>
    </message>
    <message>
        <source>subTypeDescription</source>
        <translation>Sub-type</translation>
    </message>
    <message>
        <source>Are you sure delete selected alarms from table,you can search them from alarm records again</source>
        <translation>Remove the selected alarms from this table? They stay in the alarm records.</translation>
    </message>
    <message>
        <source>False</source>
        <translation>False alarm</translation>
    </message>
    <message>
        <source>False And Alarm Off</source>
        <translation>False alarm, disarm</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Live image %1, channel %2, %3</source>
        <translation>Live image %1, channel %2, %3</translation>
    </message>
    <message>
        <source>No alarm matches the search.</source>
        <translation>No alarm matches the search.</translation>
    </message>
    <message>
        <source>The alarm server refuses this client since %1: %2</source>
        <translation>The alarm server has refused this client since %1: %2</translation>
    </message>
    <message>
        <source>Alarm server unreachable since %1. Connecting...</source>
        <translation>Alarm server unreachable since %1. Connecting…</translation>
    </message>
    <message>
        <source>Alarm server unreachable since %1. Reconnecting (attempt %2)...</source>
        <translation>Alarm server unreachable since %1. Reconnecting (attempt %2)…</translation>
    </message>
    <message>
        <source>Alarm Monitor (%1 new)</source>
        <translation>Alarm Monitor (%1 new)</translation>
    </message>
    <message>
        <source>%1 alarm(s) not handled: %2</source>
        <translation>Alarms not handled: %1. %2</translation>
    </message>
    <message>
        <source>The alarm server did not answer in time.</source>
        <translation>The alarm server did not answer in time.</translation>
    </message>
    <message>
        <source>Alarm server unreachable</source>
        <translation>Alarm server unreachable</translation>
    </message>
    <message>
        <source>The alarm server gave no reason.</source>
        <translation>The alarm server gave no reason.</translation>
    </message>
    <message>
        <source>Alarms in this handling: %1</source>
        <translation>Alarms in this handling: %1</translation>
    </message>
    <message>
        <source>Not handled yet: %1</source>
        <translation>Not handled yet: %1</translation>
    </message>
    <message>
        <source>Alarms handled: %1</source>
        <translation>Alarms handled: %1</translation>
    </message>
    <message>
        <source>Alarms of this probe: %1</source>
        <translation>Alarms of this probe: %1</translation>
    </message>
    <message>
        <source>Alarms waiting for a free view: %1</source>
        <translation>Alarms waiting for a free view: %1</translation>
    </message>
    <message>
        <source>Access revoked</source>
        <translation>Access revoked</translation>
    </message>
    <message>
        <source>Your rights allow watching only</source>
        <translation>Your rights allow watching only</translation>
    </message>
    <message>
        <source>%1 is handling</source>
        <translation>%1 is handling</translation>
    </message>
    <message>
        <source>%1 is handling this alarm. Handle it anyway?</source>
        <translation>%1 is handling this alarm. Handle it anyway?</translation>
    </message>
    <message>
        <source>%1 is handling some of these alarms. Handle them anyway?</source>
        <translation>%1 is handling some of these alarms. Handle them anyway?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>%1 has this alarm&apos;s handling open</source>
        <translation>%1 has this alarm&apos;s handling open</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::AlarmDetailCheckWt</name>
    <message>
        <source>AlarmDetailCheckWt</source>
        <translation>Alarm details</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>No alarm</translation>
    </message>
    <message>
        <source>Handle</source>
        <translation>Handle</translation>
    </message>
    <message>
        <source>False</source>
        <translation>False</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Back</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::AlarmInfoWidget</name>
    <message>
        <source>AlarmInfoWidget</source>
        <translation>Alarm information</translation>
    </message>
    <message>
        <source>Stor Name:</source>
        <translation>Store name: </translation>
    </message>
    <message>
        <source>Pirs Info:</source>
        <translation>Probe: </translation>
    </message>
    <message>
        <source>Store Keeper:</source>
        <translation>Store keeper: </translation>
    </message>
    <message>
        <source>Store Tel:</source>
        <translation>Keeper phone: </translation>
    </message>
    <message>
        <source>Store Owner:</source>
        <translation>Store owner: </translation>
    </message>
    <message>
        <source>Store Owner Tel:</source>
        <translation>Owner phone: </translation>
    </message>
    <message>
        <source>Responsible:</source>
        <translation>Contact: </translation>
    </message>
    <message>
        <source>Responsible Tel:</source>
        <translation>Contact phone: </translation>
    </message>
    <message>
        <source>Store Address:</source>
        <translation>Address: </translation>
    </message>
    <message>
        <source>Pay State:</source>
        <translation>Payment: </translation>
    </message>
    <message>
        <source>Alarm Time:</source>
        <translation>Time: </translation>
    </message>
    <message>
        <source>Alarm Type:</source>
        <translation>Type: </translation>
    </message>
    <message>
        <source>Alarm SubType:</source>
        <translation>Sub-type: </translation>
    </message>
    <message>
        <source>Alarm Describel:</source>
        <translation>Description: </translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::AlarmRecordPage</name>
    <message>
        <source>AlarmRecords</source>
        <translation>Alarm records</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::AlarmRecordSearchWt</name>
    <message>
        <source>AlarmRecordPage</source>
        <translation>Alarm records</translation>
    </message>
    <message>
        <source>Start Time:</source>
        <translation>From:</translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>End Time:</source>
        <translation>To:</translation>
    </message>
    <message>
        <source>Store:</source>
        <translation>Store:</translation>
    </message>
    <message>
        <source>Alarm State:</source>
        <translation>State:</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Search</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::AlarmVideoCellWt</name>
    <message>
        <source>VideoAlarmCellWt</source>
        <translation>Alarm video</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::AlarmVideoCheckDlg</name>
    <message>
        <source>AlarmVideoCheckDlg</source>
        <translation>Alarm video check</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::AlarmVideoCheckWt</name>
    <message>
        <source>AlarmVideoCheckWt</source>
        <translation>Alarm video check</translation>
    </message>
    <message>
        <source>Handle</source>
        <translation>Handle</translation>
    </message>
    <message>
        <source>False</source>
        <translation>False</translation>
    </message>
    <message>
        <source>Detail</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Store</source>
        <translation>Store</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::HandleAlarmDlg</name>
    <message>
        <source>HandleAlarmDlg</source>
        <translation>Handle alarm</translation>
    </message>
    <message>
        <source>Handle Note</source>
        <translation>Handling note</translation>
    </message>
    <message>
        <source>Close Alarm</source>
        <translation>Close alarm</translation>
    </message>
    <message>
        <source>Inform Keeper</source>
        <translation>Inform keeper</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Send</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::VideoAlarmForm</name>
    <message>
        <source>VideoAlarmForm</source>
        <translation>Video alarms</translation>
    </message>
</context>
<context>
    <name>VIG_ALARM_MOUDLE::WaitAlarmWidget</name>
    <message>
        <source>WaitAlarmWidget</source>
        <translation>Waiting for alarms</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; color:#666e89;&quot;&gt;Wait for alarm...&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; color:#666e89;&quot;&gt;Waiting for alarms...&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
</TS>
