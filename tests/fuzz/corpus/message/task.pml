<?xml version="1.0" encoding="UTF-8"?>
<message>
<id>
<class>GW.MESSAGE.TASK</class>
<account>Robin Ashdown</account>
<mapi>4A1B2C3D.dom1.po1.100.1.1.1@1</mapi>
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
<subject>Quarterly figures</subject>
<view>mail</view>
<date-create>20240312T091500</date-create>
<date-modified>20240312T091700</date-modified>
<boxtype>1</boxtype>
<priority>2</priority>
</core>
<body>
<plain><![CDATA[Hello,

please find the figures attached.
]]></plain>
</body>
<task>
<category>Work</category>
<accepted>true</accepted>
<autodate>false</autodate>
<completed>false</completed>
<delegated>false</delegated>
<personal>false</personal>
<on-calendar>true</on-calendar>
<notify-accepted>0</notify-accepted>
<notify-completed>1</notify-completed>
<notify-declined>0</notify-declined>
<priority>A1</priority>
<assigned-date>20240301T000000</assigned-date>
<due-date>20240315T000000</due-date>
<start-date>20240304T000000</start-date>
</task>
</props>
<save-log date-saved="20240401T120000" status="0">
<item type="0">Saved by the archiver</item>
</save-log>
</message>
