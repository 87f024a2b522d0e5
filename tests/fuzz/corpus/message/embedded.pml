<?xml version="1.0" encoding="UTF-8"?>
<message>
<id>
<class>GW.MESSAGE.APPOINTMENT</class>
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
<attachments>
<attach display-name="Forwarded task" obj-type="2">
<msg>
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
<attachments>
<attach display-name="Inner" obj-type="2">
<msg>
<id>
<class>GW.MESSAGE.MAIL</class>
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
<attachments>
<attach display-name="TEXT.htm" file-name="TEXT.htm">
<content-ids>
<content-id>logo.png</content-id>
<content-id>../up.png</content-id>
</content-ids>
<![CDATA[eJyzySjJzbGzScpPqbSzKbDzyLTRL7CzycxNVyguSrZVSs5MscrJT8/XK8hLV7Kz0Yeo0wdrAgBY
txPv]]>
</attach>
<attach display-name="IMAGE.001" file-name="logo.png">
<![CDATA[eJzrDPBz5+UCAAb9AYY=]]>
</attach>
</attachments>
<email>
<completed>false</completed>
<delegated>false</delegated>
<notify-completed>false</notify-completed>
<date-delivered>20240312T091600</date-delivered>
</email>
</props>
<save-log date-saved="20240401T120000" status="0">
<item type="0">Saved by the archiver</item>
</save-log>
</msg>
</attach>
</attachments>
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
</msg>
</attach>
</attachments>
<appointment>
<accepted>true</accepted>
<autodate>false</autodate>
<delegated>false</delegated>
<on-calendar>true</on-calendar>
<personal>false</personal>
<start-date>20240320T140000</start-date>
<end-date>20240320T153000</end-date>
<place>Room 4</place>
<duration>0.0625</duration>
<alarm-time>20240320T134500</alarm-time>
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
