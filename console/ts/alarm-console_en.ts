<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>ConsoleWindow</name>
    <message>
        <source>Alarm Console</source>
        <translation>Alarm Console</translation>
    </message>
    <message>
        <source>Scenario %1, %2 probes</source>
        <translation>Scenario %1, %2 probes</translation>
    </message>
    <message>
        <source>Embedded alarm server</source>
        <translation>Embedded alarm server</translation>
    </message>
    <message>
        <source>Connected to %1</source>
        <translation>Connected to %1</translation>
    </message>
    <message>
        <source>Refused by %1</source>
        <translation>Refused by %1</translation>
    </message>
    <message>
        <source>Connecting to %1</source>
        <translation>Connecting to %1</translation>
    </message>
    <message>
        <source>Reconnecting to %1 (%2)</source>
        <translation>Reconnecting to %1 (%2)</translation>
    </message>
    <message>
        <source>Alarm server: %1</source>
        <translation>Alarm server: %1</translation>
    </message>
    <message>
        <source>Simulator</source>
        <translation>Simulator</translation>
    </message>
    <message>
        <source> Probe </source>
        <translation> Probe </translation>
    </message>
    <message>
        <source>Raise Alarm</source>
        <translation>Raise Alarm</translation>
    </message>
    <message>
        <source>Alarm Storm</source>
        <translation>Alarm Storm</translation>
    </message>
    <message>
        <source>Generator</source>
        <translation>Generator</translation>
    </message>
    <message>
        <source>Alarm generator on</source>
        <translation>Alarm generator on</translation>
    </message>
    <message>
        <source>Alarm generator off</source>
        <translation>Alarm generator off</translation>
    </message>
    <message>
        <source>Late-Month Check</source>
        <translation>Last Month&apos;s New Alarms</translation>
    </message>
    <message>
        <source>Switch to Pop-ups</source>
        <translation>Switch to Pop-ups</translation>
    </message>
    <message>
        <source>Switch to Grid</source>
        <translation>Switch to Grid</translation>
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
        <translation>Stores</translation>
    </message>
    <message>
        <source>Notices</source>
        <translation>Notices</translation>
    </message>
    <message>
        <source>Handled: %1</source>
        <translation>Handled: %1</translation>
    </message>
    <message>
        <source>Request %1 failed (%2): %3 %4</source>
        <translation>Request %1 failed (%2): %3 %4</translation>
    </message>
    <message>
        <source>Alarm outputs switched off: %1</source>
        <translation>Alarm outputs switched off: %1</translation>
    </message>
    <message>
        <source>New alarms of the last month: %1</source>
        <translation>New alarms of the last month: %1</translation>
    </message>
    <message>
        <source>Late-month check failed: %1</source>
        <translation>Last month&apos;s new alarms could not be counted: %1</translation>
    </message>
    <message>
        <source>Alarm sound on</source>
        <translation>Alarm sound on</translation>
    </message>
    <message>
        <source>Alarm sound off</source>
        <translation>Alarm sound off</translation>
    </message>
    <message>
        <source>Simulator: %1</source>
        <translation>Simulator: %1</translation>
    </message>
    <message>
        <source>Cannot raise an alarm: %1</source>
        <translation>Cannot raise an alarm: %1</translation>
    </message>
    <message>
        <source>Cannot start a storm: %1</source>
        <translation>Cannot start a storm: %1</translation>
    </message>
    <message>
        <source>Alarm storm of %1 alarms</source>
        <translation>Alarm storm of %1 alarms</translation>
    </message>
    <message>
        <source>Cannot restart the console</source>
        <translation>Cannot restart the console</translation>
    </message>
    <message>
        <source>Access revoked</source>
        <translation>Access revoked</translation>
    </message>
    <message>
        <source>Operator: %1</source>
        <translation>Operator: %1</translation>
    </message>
    <message>
        <source> (watching only)</source>
        <translation> (watching only)</translation>
    </message>
    <message>
        <source> (no control of the server)</source>
        <translation> (no control of the server)</translation>
    </message>
    <message>
        <source>Your rights do not allow driving the alarm server</source>
        <translation>Your rights do not allow driving the alarm server</translation>
    </message>
    <message>
        <source>Access revoked: %1</source>
        <translation>Access revoked: %1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>No video</source>
        <translation>No video</translation>
    </message>
    <message>
        <source>Connecting %1...</source>
        <translation>Connecting %1...</translation>
    </message>
    <message>
        <source>%1
connection failed</source>
        <translation>%1
connection failed</translation>
    </message>
    <message>
        <source>Playback failed
%1</source>
        <translation>Playback failed
%1</translation>
    </message>
    <message>
        <source>ALARM</source>
        <translation>ALARM</translation>
    </message>
    <message>
        <source>REC</source>
        <translation>REC</translation>
    </message>
    <message>
        <source>Playback finished</source>
        <translation>Playback finished</translation>
    </message>
    <message>
        <source>Playback %1%</source>
        <translation>Playback %1%</translation>
    </message>
    <message>
        <source>Alarm Monitoring Centre</source>
        <translation>Alarm Monitoring Centre</translation>
    </message>
</context>
<context>
    <name>StoreListWt</name>
    <message>
        <source>Store</source>
        <translation>Store</translation>
    </message>
    <message>
        <source>Unhandled</source>
        <translation>Unhandled</translation>
    </message>
    <message>
        <source>%1: unhandled alarms</source>
        <translation>%1: unhandled alarms</translation>
    </message>
    <message>
        <source>%1 unhandled alarm(s)</source>
        <translation>%1 unhandled alarm(s)</translation>
    </message>
</context>
<context>
    <name>VIG_BASE_MODULE::DialogWithCloseBt</name>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>VIG_BASE_MODULE::ImageViewer</name>
    <message>
        <source>No image</source>
        <translation>No image</translation>
    </message>
    <message>
        <source>The image cannot be shown</source>
        <translation>The image cannot be shown</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Loading...</translation>
    </message>
</context>
<context>
    <name>VIG_BASE_MODULE::MessageBoxW</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>VIG_BASE_MODULE::PageTurningWidget</name>
    <message>
        <source>%1 / page</source>
        <translation>%1 / page</translation>
    </message>
    <message>
        <source>First</source>
        <translation>First</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>Last</source>
        <translation>Last</translation>
    </message>
    <message>
        <source>%1 records</source>
        <translation>%1 records</translation>
    </message>
</context>
<context>
    <name>VIG_BASE_MODULE::VideoPanel</name>
    <message>
        <source>Capture</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>Start Recording</source>
        <translation>Start Recording</translation>
    </message>
    <message>
        <source>Close Video</source>
        <translation>Close Video</translation>
    </message>
    <message>
        <source>Main stream</source>
        <translation>Main stream</translation>
    </message>
    <message>
        <source>Sub stream</source>
        <translation>Sub stream</translation>
    </message>
    <message>
        <source>Third stream</source>
        <translation>Third stream</translation>
    </message>
    <message>
        <source>Stop Recording</source>
        <translation>Stop Recording</translation>
    </message>
</context>
<context>
    <name>VIG_BASE_MODULE::VideoPlaybackPanel</name>
    <message>
        <source>Device recording %1 (%2, channel %3, %4)</source>
        <translation>Device recording %1 (%2, channel %3, %4)</translation>
    </message>
    <message>
        <source>Cloud recording %1 %2</source>
        <translation>Cloud recording %1 %2</translation>
    </message>
    <message>
        <source>Local recording %1</source>
        <translation>Local recording %1</translation>
    </message>
    <message>
        <source>NVR %1 channel %2: %3 to %4</source>
        <translation>NVR %1 channel %2: %3 to %4</translation>
    </message>
</context>
</TS>
