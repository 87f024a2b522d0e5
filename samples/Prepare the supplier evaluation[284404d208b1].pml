<?xml version="1.0" encoding="UTF-8"?>
<message>
<id>
<class>GW.MESSAGE.TASK</class>
<account>Robin Ashdown</account>
<mapi>5C21AD02.halvorn.po1.100.1.1.1@1</mapi>
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
<from>Tobias Hargreave</from>
<subject>Prepare the supplier evaluation</subject>
<view>mail</view>
<date-create>20261201T080000</date-create>
<date-modified>20261201T080000</date-modified>
<boxtype>1</boxtype>
<priority>3</priority>
<sender email-type="NGW" email-address="tobias.hargreave@halvorn.example">Tobias Hargreave</sender>
<recipients>
<recipient display-name="Robin Ashdown" target-type="0">robin.ashdown@halvorn.example</recipient>
</recipients>
</core>
<body>
<plain><![CDATA[Compare delivery times, prices and complaints of the three suppliers.
]]></plain>
</body>
<task>
<category>Work</category>
<accepted>true</accepted>
<autodate>false</autodate>
<completed>true</completed>
<delegated>false</delegated>
<personal>false</personal>
<on-calendar>true</on-calendar>
<notify-accepted>0</notify-accepted>
<notify-completed>1</notify-completed>
<notify-declined>0</notify-declined>
<priority>A1</priority>
<assigned-date>20240301T000000</assigned-date>
<due-date>20261218T000000</due-date>
<start-date>20261207T000000</start-date>
</task>
</props>
<save-log date-saved="20240401T120000" status="0">
<item type="0">Saved by the archiver</item>
</save-log>
</message>
