<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Localizable</name>
    <message>
        <source>WarningStr</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>ErrorStr</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>InfoStr</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>OkStr</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancell</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>
