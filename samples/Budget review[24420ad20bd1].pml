<?xml version="1.0" encoding="UTF-8"?>
<message>
<id>
<class>GW.MESSAGE.APPOINTMENT</class>
<account>Robin Ashdown</account>
<mapi>5C21AC20.halvorn.po1.100.1.1.1@1</mapi>
</id>
<props>
<core>
<archived>false</archived>
<notify-del>false</notify-del>
<routed>false</routed>
<routed-eol>false</routed-eol>
<read>true</read>
<private>false</private>
<notify-open>false</notify-open>
<hidden>false</hidden>
<opened>true</opened>
<deleted>false</deleted>
<convattach>false</convattach>
<rev-no>1</rev-no>
<reply-days-req>0</reply-days-req>
<reply-req>0</reply-req>
<from>Ellis Fenwick</from>
<subject>Budget review</subject>
<view>mail</view>
<date-create>20261202T140000</date-create>
<date-modified>20261202T140000</date-modified>
<boxtype>1</boxtype>
<priority>2</priority>
<sender email-type="NGW" email-address="ellis.fenwick@halvorn.example">Ellis Fenwick</sender>
<recipients>
<recipient display-name="Robin Ashdown" target-type="0">robin.ashdown@halvorn.example</recipient>
<recipient display-name="Tobias Hargreave" target-type="0">tobias.hargreave@halvorn.example</recipient>
</recipients>
</core>
<body>
<plain><![CDATA[Agenda:
- Figures of Q3
- Plan for next year
- Open questions
]]></plain>
</body>
<appointment>
<accepted>true</accepted>
<autodate>false</autodate>
<delegated>false</delegated>
<on-calendar>true</on-calendar>
<personal>false</personal>
<start-date>20261210T100000</start-date>
<end-date>20261210T113000</end-date>
<place>Meeting room 2 (second floor)</place>
<duration>0.0625</duration>
<alarm-time>20261210T094500</alarm-time>
<alarm-program></alarm-program>
<notify-accepted>0</notify-accepted>
<notify-declined>0</notify-declined>
<busytype>2</busytype>
</appointment>
</props>
<save-log date-saved="20240401T120000" status="0">
<item type="0">Saved by the archiver</item>
</save-log>
</message>
